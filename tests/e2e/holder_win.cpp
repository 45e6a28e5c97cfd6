// Holds a file open the way another program might, until its standard input
// ends:  e2e_holder FILE [read]
// Without "read" nobody else may open the file; with it, others may read it
// but not write, rename or delete it. Prints "held" once the file is open,
// or "failed <error>".
#include <windows.h>

#include <string>

namespace {

void Say(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return 2;
  const bool sharedRead = argc > 2 && std::wstring(argv[2]) == L"read";
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, sharedRead ? FILE_SHARE_READ : 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Say("failed " + std::to_string(GetLastError()) + "\n");
    return 1;
  }
  Say("held\n");
  char buffer[64];
  DWORD got = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got) {
  }
  CloseHandle(file);
  return 0;
}
