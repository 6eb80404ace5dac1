// Stores text values as a program of an ANSI code page does: this program
// has no UTF-8 manifest, so its arguments come in the system's ANSI code
// page and RegSetValueExA takes them from there.
//   legacystore KEY NAME TEXT [NAME TEXT...]   (KEY under HKEY_CURRENT_USER)
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    HKEY key;
    if (argc < 4 || RegCreateKeyExA(HKEY_CURRENT_USER, argv[1], 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
        return 1;
    int failed = 0;
    for (int i = 2; i + 1 < argc; i += 2)
        failed |= RegSetValueExA(key, argv[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(argv[i + 1]),
                                 static_cast<DWORD>(std::strlen(argv[i + 1]) + 1)) != ERROR_SUCCESS;
    RegCloseKey(key);
    return failed;
}
