// Another program, for the Windows files test: opens the file it is given
// for reading, sharing everything, locks its bytes 148-149 (for reading too
// when a second argument is given) and says whether it could on its output
// again and again, holding the lock, until nobody reads it.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int main(int argc, char** argv) {
    HANDLE file =
        CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED at{};
    at.Offset = 148;
    const char locked = LockFileEx(
        file, (argc > 2 ? 0 : LOCKFILE_EXCLUSIVE_LOCK) | LOCKFILE_FAIL_IMMEDIATELY, 0, 2, 0, &at);
    DWORD written = 0;
    while (WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), &locked, 1, &written, nullptr)) Sleep(10);
}
