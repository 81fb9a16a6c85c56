#pragma once
// Rich texts written by hand, each for a point of the control's reading
// (paragraph and line ends, named characters, Unicode escapes, fonts of other
// character sets, skipped destinations, binary data, malformed documents).
// The end-to-end test compares the converter with the rich-edit control on
// them; the unit tests check on them what follows from the converter's text.
#include <string>
#include <vector>

namespace kz {

inline std::vector<std::string> hand_written_rich_texts() {
    return {
        "",
        "Paris",
        "{\\rtf1}",
        "{\\rtf1\\ansi Paris\\par}",
        "{\\rtf1\\ansi Paris\\par\\par}",
        "{\\rtf1\\ansi Paris}",
        "{\\rtf1\\ansi a\\tab c\\page d\\sect e\\par f}",
        // The palette's wrapper around a character of a Windows-1252 face.
        "{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Arial;}}\\pard\\f0\\fs20 \xE9}",
        "{\\rtf1{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Arial;}}\\pard\\f0\\fs20 \x80}",
        "{\\rtf1\\ansi \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet|\\~|\\-|\\_|}",
        "{\\rtf1\\ansi \\'e9t\\'e9 \\'80 \\'9c}",
        "{\\rtf1\\ansi\\uc1 \\u8364?\\u339?\\u945?\\u1046?\\u20013?}",
        "{\\rtf1\\ansi\\uc0 \\u233 \\u8364 x}",
        "{\\rtf1\\ansi\\uc2 \\u233XX\\u8364YY z}",
        "{\\rtf1\\ansi \\u-3913?}",
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\f0 \\'c6\\'e8\\'e2}",
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161 Arial Greek;}}\\f0 \\'e1\\'e2}",
        "{\\rtf1\\ansi\\ansicpg1251 \\'c6}",
        "{\\rtf1\\ansi avant{\\pict\\wmetafile8 0102030405}apr\\'e8s}",
        "{\\rtf1\\ansi a{\\*\\inconnu cach\\'e9}b{\\header ent\\'eate}c{\\footer pied}d}",
        "{\\rtf1\\ansi a{\\info{\\title titre}{\\author moi}}b}",
        "{\\rtf1\\ansi a\\bin4 \x01\x02\x03\x04 b}",
        "{\\rtf1\\ansi a\\{b\\}c\\\\d}",
        "{\\rtf1\\ansi un {\\b gras {\\i et italique}} fin}",
        "{\\rtf1\\ansi ligne\r\nsuite\nfin}",
        "{\\rtf1\\ansi non ferm\\'e9",
        "{\\rtf1\\ansi trop}}} ferm\\'e9}",
        "{\\rtf1\\ansi \\'e",
        "{\\rtf1\\ansi x\\fs99999999999 y}",
        "{\\rtf1\\ansi \\par\\par\\par}",
        "{\\rtf1\\ansi a\\zwj b\\zwnj c\\ltrmark d\\rtlmark e}",
        "{\\rtf1\\ansi a\\enspace b\\emspace c\\qmspace d}",
        "{\\rtf1\\ansi \\'41\\'42 \\'00x}",
        "{\\rtf1\\ansi{\\*\\generator Riched20 10.0}\\viewkind4\\uc1\\pard\\f0\\fs17 Texte\\par}",
    };
}

}  // namespace kz
