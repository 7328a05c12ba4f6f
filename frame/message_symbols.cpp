// The symbol tables of the packed message texts (see message_symbols.h). Changing a table
// changes how every packed text reads: the message blocks are generated from the same tables
// at build time, so both always agree.
#include "frame/message_symbols.h"

namespace tq {

// clang-format off
const uint8_t kMessageSymbolTables[kSymbolTableCount][kSymbolTableSize] = {
    // 0: the space, the lower-case letters and the punctuation that sits between words.
    {' ', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o',
     'p', 'q', 'r', 's', 't', 'u', 'v', 'w', 'x', 'y', 'z', '.', '\'', ',', ':', '-'},
    // 1: the upper-case letters, with the separators of abbreviations and quoted names.
    {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P',
     'Q', 'R', 'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', ' ', '.', ',', ';', '"', '\''},
    // 2: the digits, the space and the punctuation of numbers and insertion points (%1!d!).
    {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', ' ', '%', '!', '(', ')', '"',
     ':', ';', '.', ',', '\'', '-', '*', '?', '/', '{', '}', '\\', '+', '=', '_', '#'},
    // 3: UTF-8 lead bytes C3 and C2, then the second bytes of the accented lower-case letters
    // (à á â ä ç è é ê ë í î ï ñ ó ô ö ù ú û ü), of ° and ¿ (« » ¡ share bytes with ë û á),
    // and of the common capitals (À Á Ç È É Ó). The last two entries are unreachable.
    {0xC3, 0xC2, 0xA0, 0xA1, 0xA2, 0xA4, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAD, 0xAE, 0xAF, 0xB1, 0xB3,
     0xB4, 0xB6, 0xB9, 0xBA, 0xBB, 0xBC, 0xB0, 0xBF, 0x80, 0x81, 0x87, 0x88, 0x89, 0x93, 0x91, 0x9A},
};
// clang-format on

}  // namespace tq
