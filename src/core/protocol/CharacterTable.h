#pragma once

// The module's display character set: the characters its character generator shows
// outside plain ASCII, and the Cyrillic letters it borrows from the Latin ones. Both
// conversions read these two tables and nothing else.

#include <array>

namespace q540::charset {

struct CodePair {
    int code;      // module code
    char16_t unit; // the character, one UTF-16 code unit
};

// The largest code the module accepts. Characters up to it that are in neither table
// travel as their own code point, so é goes out as 233 and ß as 223.
inline constexpr int kLargestModuleCode = 233;

// Used in both directions: each character is sent as its code, each code reads back as
// its character.
inline constexpr std::array kModuleCharacters{
    // Polish, Nordic and German letters, in the control-code range.
    CodePair{1, u'\u0104'},  // Ą
    CodePair{2, u'\u0106'},  // Ć
    CodePair{3, u'\u0118'},  // Ę
    CodePair{4, u'\u0141'},  // Ł
    CodePair{5, u'\u0143'},  // Ń
    CodePair{6, u'\u00D3'},  // Ó
    CodePair{7, u'\u015A'},  // Ś
    CodePair{8, u'\u0179'},  // Ź
    CodePair{9, u'\u017B'},  // Ż
    CodePair{10, u'\u0105'}, // ą
    CodePair{11, u'\u0107'}, // ć
    CodePair{12, u'\u0119'}, // ę
    CodePair{13, u'\u0142'}, // ł
    CodePair{14, u'\u0144'}, // ń
    CodePair{15, u'\u00F3'}, // ó
    CodePair{16, u'\u015B'}, // ś
    CodePair{17, u'\u017A'}, // ź
    CodePair{18, u'\u017C'}, // ż
    CodePair{19, u'\u00E5'}, // å
    CodePair{20, u'\u00C5'}, // Å
    CodePair{21, u'\u00F8'}, // ø
    CodePair{22, u'\u00D8'}, // Ø
    CodePair{23, u'\u00E6'}, // æ
    CodePair{24, u'\u00C6'}, // Æ
    CodePair{25, u'\u00F6'}, // ö
    CodePair{26, u'\u00D6'}, // Ö
    CodePair{27, u'\u00E4'}, // ä
    CodePair{28, u'\u00C4'}, // Ä
    CodePair{29, u'\u00FC'}, // ü
    CodePair{30, u'\u00DC'}, // Ü
    // Czech and Slovak capitals; their lower-case forms have no codes of their own.
    CodePair{128, u'\u00C1'}, // Á
    CodePair{129, u'\u010C'}, // Č
    CodePair{130, u'\u010E'}, // Ď
    CodePair{131, u'\u00C9'}, // É
    CodePair{132, u'\u011A'}, // Ě
    CodePair{133, u'\u00CD'}, // Í
    CodePair{134, u'\u0147'}, // Ň
    CodePair{135, u'\u0158'}, // Ř
    CodePair{136, u'\u0160'}, // Š
    CodePair{137, u'\u0164'}, // Ť
    CodePair{138, u'\u00DA'}, // Ú
    CodePair{139, u'\u016E'}, // Ů
    CodePair{140, u'\u00DD'}, // Ý
    CodePair{141, u'\u017D'}, // Ž
    // Cyrillic letters with no Latin look-alike.
    CodePair{160, u'\u0411'}, // Б
    CodePair{161, u'\u0413'}, // Г
    CodePair{162, u'\u0401'}, // Ё
    CodePair{163, u'\u0416'}, // Ж
    CodePair{164, u'\u0417'}, // З
    CodePair{165, u'\u0418'}, // И
    CodePair{166, u'\u0419'}, // Й
    CodePair{167, u'\u041B'}, // Л
    CodePair{168, u'\u041F'}, // П
    CodePair{169, u'\u0423'}, // У
    CodePair{170, u'\u0424'}, // Ф
    CodePair{171, u'\u0427'}, // Ч
    CodePair{172, u'\u0428'}, // Ш
    CodePair{173, u'\u042A'}, // Ъ
    CodePair{174, u'\u042B'}, // Ы
    CodePair{175, u'\u042D'}, // Э
    CodePair{176, u'\u042E'}, // Ю
    CodePair{177, u'\u042F'}, // Я
    CodePair{178, u'\u0431'}, // б
    CodePair{179, u'\u0432'}, // в
    CodePair{180, u'\u0433'}, // г
    CodePair{181, u'\u0451'}, // ё
    CodePair{182, u'\u0436'}, // ж
    CodePair{183, u'\u0437'}, // з
    CodePair{184, u'\u0438'}, // и
    CodePair{185, u'\u0439'}, // й
    CodePair{186, u'\u043A'}, // к
    CodePair{187, u'\u043B'}, // л
    CodePair{188, u'\u043C'}, // м
    CodePair{189, u'\u043D'}, // н
    CodePair{190, u'\u043F'}, // п
    CodePair{191, u'\u0442'}, // т
    CodePair{192, u'\u0447'}, // ч
    CodePair{193, u'\u0448'}, // ш
    CodePair{194, u'\u044A'}, // ъ
    CodePair{195, u'\u044B'}, // ы
    CodePair{196, u'\u044C'}, // ь
    CodePair{197, u'\u044D'}, // э
    CodePair{198, u'\u044E'}, // ю
    CodePair{199, u'\u044F'}, // я
    CodePair{224, u'\u0414'}, // Д
    CodePair{225, u'\u0426'}, // Ц
    CodePair{226, u'\u0429'}, // Щ
    CodePair{227, u'\u0434'}, // д
    CodePair{228, u'\u0444'}, // ф
    CodePair{229, u'\u0446'}, // ц
    CodePair{230, u'\u0449'}, // щ
};

// Sent only: the module shows these Cyrillic letters with the glyph of the Latin letter
// they look like, so reading the code back gives that Latin letter.
inline constexpr std::array kLatinLookAlikes{
    CodePair{'A', u'\u0410'}, // А
    CodePair{'B', u'\u0412'}, // В
    CodePair{'E', u'\u0415'}, // Е
    CodePair{'K', u'\u041A'}, // К
    CodePair{'M', u'\u041C'}, // М
    CodePair{'H', u'\u041D'}, // Н
    CodePair{'O', u'\u041E'}, // О
    CodePair{'P', u'\u0420'}, // Р
    CodePair{'C', u'\u0421'}, // С
    CodePair{'T', u'\u0422'}, // Т
    CodePair{'X', u'\u0425'}, // Х
    CodePair{'b', u'\u042C'}, // Ь
    CodePair{'a', u'\u0430'}, // а
    CodePair{'e', u'\u0435'}, // е
    CodePair{'o', u'\u043E'}, // о
    CodePair{'p', u'\u0440'}, // р
    CodePair{'c', u'\u0441'}, // с
    CodePair{'y', u'\u0443'}, // у
    CodePair{'x', u'\u0445'}, // х
};

} // namespace q540::charset
