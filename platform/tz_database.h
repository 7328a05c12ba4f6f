// Finding the rule of a time zone: an IANA zone name is looked up in the host's tz database
// (the POSIX rule in the footer of its TZif file), a POSIX TZ rule is parsed as it is, and an
// empty setting means the host's own zone (TZ, else /etc/localtime).
//
// Invariants: zone names are confined to the tz database directory (no "..", no absolute
// path unless the setting is one); a zone whose file has no footer rule (TZif version 1, or
// a zone the POSIX form cannot express) is reported as unusable rather than guessed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/tz_rule.h"

namespace ce {

// The directory of the tz database: $TZDIR, else /usr/share/zoneinfo.
std::string TzDatabaseDirectory();

// The POSIX rule in the footer of a TZif file's content (version 2 or later); nullopt when the
// content is not TZif, is truncated, or has an empty footer.
std::optional<std::string> TzifFooterRule(std::string_view content);

// The rule for a setting: "Europe/Paris", ":Europe/Paris", "/path/to/tzif", or a POSIX rule
// such as "CET-1CEST,M3.5.0,M10.5.0/3". An empty setting gives the host's zone.
std::optional<ZoneRule> LoadZoneRule(std::string_view setting);

}  // namespace ce
