// Implementation entries of the application services: colour conversions (ColourFromHSL,
// ColourHue, ColourSaturation, ColourLightness), angles (AngleToDMS, DMSToAngle) and binary
// differences (BufferDiffCreate, BufferDiffApply).
#include <cstring>
#include <span>

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "services/angle_dms.h"
#include "services/colour_hsl.h"
#include "services/dif_apply.h"
#include "services/dif_create.h"
#include "services/vm_buffer.h"

namespace tq::entries {
namespace {

// Buffer parameters (type code 28) hold a VMString.
std::span<const uint8_t> BufferArgument(void** args, int i) {
  return BufferBytes(*static_cast<const VMString*>(args[i]));
}

int32_t CreateDifferenceEntry(CallContext* c, ComponentProxy* p, void** args, int32_t options,
                              int32_t largestPercent) {
  const DiffCreation created =
      CreateDifference(BufferArgument(args, 0), BufferArgument(args, 1), options, largestPercent);
  LocalString result;
  if (created.outcome.succeeded) {
    uint8_t* out = NewBuffer(result.get(), created.dif.size());
    if (out == nullptr) {
      RaiseDiffError(p, DiffStatus::kBlockFailed);
    } else if (!created.dif.empty()) {
      std::memcpy(out, created.dif.data(), created.dif.size());
    }
  } else {
    RaiseDiffError(p, created.outcome.status);
  }
  SetResult(c, result.address(), kBufferTypeCode);
  return 0;
}

}  // namespace

TQ_ENTRY(ColourFromHSL_Components) {
  return SetIntegerResult(context,
                          ColourFromHsl(proxy, IntegerArgument(args, 0), IntegerArgument(args, 1),
                                        IntegerArgument(args, 2)));
}

TQ_ENTRY(ColourHue_Colour) {
  return SetIntegerResult(context, HslOfColour(IntegerArgument(args, 0)).hue);
}

TQ_ENTRY(ColourSaturation_Colour) {
  return SetIntegerResult(context, HslOfColour(IntegerArgument(args, 0)).saturation);
}

TQ_ENTRY(ColourLightness_Colour) {
  return SetIntegerResult(context, HslOfColour(IntegerArgument(args, 0)).lightness);
}

TQ_ENTRY(AngleToDMS_Real) {
  LocalString result;
  result.assign(AngleToDms(RealArgument(args, 0)));
  SetResult(context, result.address(), typecode::kText);
  return 0;
}

TQ_ENTRY(DMSToAngle_Text) {
  const char16_t* text = TextArgument(args, 0);
  const double angle = DmsToAngle(proxy, text != nullptr ? text : u"");
  SetResult(context, &angle, typecode::kReal);
  return 0;
}

TQ_ENTRY(BufferDiffCreate_Buffers) {
  return CreateDifferenceEntry(context, proxy, args, 0, kDiffDefaultLargestPercent);
}

TQ_ENTRY(BufferDiffCreate_Options) {
  return CreateDifferenceEntry(context, proxy, args, IntegerArgument(args, 2),
                               kDiffDefaultLargestPercent);
}

TQ_ENTRY(BufferDiffCreate_Limit) {
  return CreateDifferenceEntry(context, proxy, args, IntegerArgument(args, 2),
                               IntegerArgument(args, 3));
}

TQ_ENTRY(BufferDiffApply_Buffers) {
  LocalString result;
  const DiffOutcome applied =
      ApplyDifference(BufferArgument(args, 0), BufferArgument(args, 1),
                      [&result](size_t size) { return NewBuffer(result.get(), size); });
  if (!applied.succeeded) {
    Release(result.get());
    RaiseDiffError(proxy, applied.status);
  }
  SetResult(context, result.address(), kBufferTypeCode);
  return 0;
}

}  // namespace tq::entries
