// A stand-in for the mail and help libraries: MAPISendMail and HtmlHelpA that
// write down what they received, for the test program to read back.
#include <windows.h>

#include <mapi.h>

#include <string>

namespace {

std::string gLastCall;
int gCalls = 0;
ULONG gResult = SUCCESS_SUCCESS;

std::string Text(const char* text) {
  return text == nullptr ? "(null)" : "'" + std::string(text) + "'";
}

std::string Recipient(const MapiRecipDesc& r) {
  return "[" + std::to_string(r.ulReserved) + " " + std::to_string(r.ulRecipClass) + " " +
         Text(r.lpszName) + " " + Text(r.lpszAddress) + " " + std::to_string(r.ulEIDSize) +
         (r.lpEntryID == nullptr ? "" : " id") + "]";
}

}  // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI
    MAPISendMail(LHANDLE session, ULONG_PTR parent, lpMapiMessage m, FLAGS flags, ULONG reserved) {
  ++gCalls;
  std::string s = "session " + std::to_string(session) + " flags " + std::to_string(flags) +
                  " reserved " + std::to_string(reserved) + (parent == 0 ? "" : " parent") + "\n";
  s += "subject " + Text(m->lpszSubject) + " note " + Text(m->lpszNoteText) + " type " +
       Text(m->lpszMessageType) + " date " + Text(m->lpszDateReceived) + " conversation " +
       Text(m->lpszConversationID) + " flags " + std::to_string(m->flFlags) + "\n";
  s += "from " + (m->lpOriginator == nullptr ? "(none)" : Recipient(*m->lpOriginator)) + "\n";
  s += "to " + std::to_string(m->nRecipCount);
  for (ULONG i = 0; i < m->nRecipCount; ++i) s += " " + Recipient(m->lpRecips[i]);
  s += "\nfiles " + std::to_string(m->nFileCount) + (m->lpFiles == nullptr ? " (null)" : "");
  for (ULONG i = 0; i < m->nFileCount; ++i) {
    const MapiFileDesc& f = m->lpFiles[i];
    s += " [" + std::to_string(f.ulReserved) + " " + std::to_string(f.flFlags) + " " +
         std::to_string(static_cast<LONG>(f.nPosition)) + " " + Text(f.lpszPathName) + " " +
         Text(f.lpszFileName) + (f.lpFileType == nullptr ? "" : " type") + "]";
  }
  gLastCall = s;
  return gResult;
}

__declspec(dllexport) HWND WINAPI
    HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
  ++gCalls;
  gLastCall = Text(file) + " " + std::to_string(command) + " " + std::to_string(data) +
              (caller == nullptr ? "" : " caller");
  return nullptr;
}

__declspec(dllexport) const char* FakeLastCall() {
  return gLastCall.c_str();
}

__declspec(dllexport) int FakeCalls() {
  return gCalls;
}

__declspec(dllexport) void FakeSetResult(ULONG result) {
  gResult = result;
}
}
