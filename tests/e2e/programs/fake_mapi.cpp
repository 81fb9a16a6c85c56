// A stand-in for the mail system's Simple MAPI library, copied beside a quiz
// as "mapi32.dll": it sends nothing, writes the message it was handed into
// "mail.txt" beside itself (subject, recipient name and address, attachment
// path and name, one per line), and accepts it, or refuses it when the
// environment holds KZ_MAPI_REFUSES.
#include <windows.h>

#include <mapi.h>

#include <string>

namespace {

std::wstring beside_library(const wchar_t* name) {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&beside_library), &self);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

void add_line(std::string& out, const char* text) {
    out += text ? text : "(none)";
    out += "\r\n";
}

}  // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPLHANDLE session) {
    *session = 1;
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS, ULONG) {
    std::string text;
    add_line(text, message->lpszSubject);
    add_line(text, message->nRecipCount ? message->lpRecips[0].lpszName : nullptr);
    add_line(text, message->nRecipCount ? message->lpRecips[0].lpszAddress : nullptr);
    add_line(text, message->nFileCount ? message->lpFiles[0].lpszPathName : nullptr);
    add_line(text, message->nFileCount ? message->lpFiles[0].lpszFileName : nullptr);
    HANDLE file = CreateFileW(beside_library(L"mail.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return GetEnvironmentVariableW(L"KZ_MAPI_REFUSES", nullptr, 0) ? MAPI_E_FAILURE : SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE, ULONG_PTR, FLAGS, ULONG) { return SUCCESS_SUCCESS; }

}
