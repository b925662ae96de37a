#include "platform/Process.h"

#include <windows.h>

#include "SystemText.h"

namespace platform {

namespace {

// One argument as the C runtime's command-line parser will read it back: left as it stands
// unless it is empty or holds a blank or a quote; otherwise quoted, with the backslashes before a
// quote (and before the closing quote) doubled.
std::wstring QuotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring CommandLine(const std::filesystem::path& program,
                         const std::vector<std::string>& args) {
    // The program's own path is argument 0 and is always quoted, so that a folder with blanks
    // never splits it.
    std::wstring line = L"\"" + program.wstring() + L"\"";
    for (const std::string& arg : args) line += L" " + QuotedArgument(WideFromNarrow(arg));
    return line;
}

// Status codes of the system's own (facility 0, error severity) end a process that an exception
// or the console's interrupt stopped; no program returns one as its exit code.
bool EndedBySystem(DWORD code) {
    return (code & 0xFFFF0000u) == 0xC0000000u;
}

}  // namespace

ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& args) {
    ProgramResult result;
    std::wstring line = CommandLine(program, args);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    // The program path is given, so the system searches no folders for it.
    if (!CreateProcessW(program.wstring().c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process)) {
        result.error = SystemErrorText(GetLastError());
        return result;
    }
    CloseHandle(process.hThread);
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &code);
    const DWORD error = GetLastError();
    CloseHandle(process.hProcess);
    if (!ended) {
        result.error = SystemErrorText(error);
        return result;
    }
    result.exitStatus = static_cast<int>(code);
    result.exitCode = static_cast<int>(code);
    result.outcome =
        EndedBySystem(code) ? ProgramResult::Outcome::kKilled : ProgramResult::Outcome::kExited;
    return result;
}

int CurrentProcessId() {
    return static_cast<int>(GetCurrentProcessId());
}

}  // namespace platform
