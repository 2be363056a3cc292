// A stand-in for the game and for the host tool in the Windows tests: in its
// current folder it writes "standin-ran.txt" (its own path, then the folder),
// then keeps running while that folder holds "standin-wait.txt", as the game
// does until the player closes it.
#include <windows.h>

#include <cstdio>

int main() {
    char self[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    if (FILE* ran = std::fopen("standin-ran.txt", "wb")) {
        std::fprintf(ran, "%s\n%s\n", self, folder);
        std::fclose(ran);
    }
    for (int i = 0; i < 3000 && ::GetFileAttributesA("standin-wait.txt") != INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(20);
    return 0;
}
