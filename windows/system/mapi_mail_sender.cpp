#include "system/mapi_mail_sender.h"

#include <mapi.h>

#include <string>

#include "win32/gdi_handle.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

// The wide-character forms of Simple MAPI's message, recipient and file
// descriptors (same layout as the ANSI ones, with UTF-16 texts).
struct MapiRecipDescW {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    PVOID lpEntryID;
};
struct MapiFileDescW {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    PWSTR lpszPathName;
    PWSTR lpszFileName;
    PVOID lpFileType;
};
struct MapiMessageW {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    MapiRecipDescW* lpOriginator;
    ULONG nRecipCount;
    MapiRecipDescW* lpRecips;
    ULONG nFileCount;
    MapiFileDescW* lpFiles;
};
using SendMailW = ULONG(WINAPI*)(LHANDLE, ULONG_PTR, MapiMessageW*, FLAGS, ULONG);

// The attachment is not placed in the message's text.
constexpr ULONG no_position = static_cast<ULONG>(-1);

// Simple MAPI's ANSI functions read texts in the system's ANSI code page.
std::string ansi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), converted.data(), size,
                            nullptr, nullptr);
    return converted;
}

template <class Function>
Function entry_point(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The subject, one recipient (who is also the sender) and the file, without
// a body; the mail system may ask the student to log on, not to compose.
ULONG send_wide(SendMailW send, LHANDLE session, HWND owner, const ResultsMail& mail) {
    std::wstring subject = widen(mail.subject);
    std::wstring recipient = widen(mail.recipient);
    std::wstring attachment = mail.attachment.wstring();
    MapiRecipDescW to = {0, MAPI_TO, recipient.data(), recipient.data(), 0, nullptr};
    MapiFileDescW file = {0, 0, no_position, attachment.data(), attachment.data(), nullptr};
    MapiMessageW message = {0, subject.data(), nullptr, nullptr, nullptr, nullptr, 0, &to, 1, &to, 1, &file};
    return send(session, reinterpret_cast<ULONG_PTR>(owner), &message, MAPI_LOGON_UI, 0);
}

ULONG send_ansi(LPMAPISENDMAIL send, LHANDLE session, HWND owner, const ResultsMail& mail) {
    std::string subject = ansi(widen(mail.subject));
    std::string recipient = ansi(widen(mail.recipient));
    std::string attachment = ansi(mail.attachment.wstring());
    MapiRecipDesc to = {0, MAPI_TO, recipient.data(), recipient.data(), 0, nullptr};
    MapiFileDesc file = {0, 0, no_position, attachment.data(), attachment.data(), nullptr};
    MapiMessage message = {0, subject.data(), nullptr, nullptr, nullptr, nullptr, 0, &to, 1, &to, 1, &file};
    return send(session, reinterpret_cast<ULONG_PTR>(owner), &message, MAPI_LOGON_UI, 0);
}

}  // namespace

bool MapiMailSender::send_results_mail(const ResultsMail& mail) {
    const OwnedLibrary library(LoadLibraryW(L"mapi32.dll"));
    if (!library) return false;
    const auto logon = entry_point<LPMAPILOGON>(library.get(), "MAPILogon");
    const auto send_wide_mail = entry_point<SendMailW>(library.get(), "MAPISendMailW");
    const auto send_mail = entry_point<LPMAPISENDMAIL>(library.get(), "MAPISendMail");
    const auto logoff = entry_point<LPMAPILOGOFF>(library.get(), "MAPILogoff");

    ULONG result = MAPI_E_FAILURE;
    LHANDLE session = 0;
    if (logon) {
        std::string profile = ansi(widen(mail.profile));
        std::string password = ansi(widen(mail.password));
        result = logon(0, profile.data(), password.data(), 0, 0, &session);
    }
    // The sending is tried even when the logon failed: the mail system may
    // then ask for the logon itself.
    if (send_wide_mail) {
        result = send_wide(send_wide_mail, session, owner_.get(), mail);
    } else if (send_mail) {
        result = send_ansi(send_mail, session, owner_.get(), mail);
    }
    if (logoff && session) logoff(session, 0, 0, 0);
    return result == SUCCESS_SUCCESS;
}

}  // namespace kz::win
