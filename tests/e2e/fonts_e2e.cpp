// The faces the runner draws with, as Wine's font enumeration finds them in
// the prefix: without Marlett the caption buttons draw as letters, without
// Symbol the palette and Symbol answers show other signs, and without MS Sans
// Serif or Arial's metric twin every page is laid out in another width.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// The face GDI gives for a request of this name: the name itself when the
// face is installed, else its substitute.
std::wstring face_given_for(const std::wstring& requested) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, requested.c_str());
    HGDIOBJ before = SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    SelectObject(screen, before);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return face;
}

bool enumerated(const std::wstring& face) {
    HDC screen = GetDC(nullptr);
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

TEST(FontsUnderWine, TheFacesTheRunnerDrawsWithAreInstalled) {
    for (const wchar_t* face : {L"Marlett", L"Symbol", L"Tahoma", L"MS Sans Serif"}) {
        EXPECT_TRUE(enumerated(face)) << "no font " << std::string(face, face + wcslen(face)) << " in the prefix";
        EXPECT_EQ(face_given_for(face), face);
    }
    const std::wstring arial = face_given_for(L"Arial");
    EXPECT_TRUE(arial == L"Arial" || arial == L"Liberation Sans")
        << "Arial is drawn in " << std::string(arial.begin(), arial.end());
}

}  // namespace
