// A stand-in for the game and for the host tool in the Windows tests: it
// records that it ran, in which folder, and can make a file the way the host
// tool makes the game's second executable.
//
// In its current folder it writes "standin-ran.txt" (its own path, then the
// folder). When that folder holds "standin-create.txt", it creates the file
// named there. While the folder holds "standin-wait.txt" it keeps running, as
// the game does until the player closes it.
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
    if (FILE* order = std::fopen("standin-create.txt", "rb")) {
        char target[MAX_PATH] = {};
        const size_t length = std::fread(target, 1, MAX_PATH - 1, order);
        std::fclose(order);
        target[length] = '\0';
        for (size_t i = length; i > 0 && (target[i - 1] == '\r' || target[i - 1] == '\n'); --i) target[i - 1] = '\0';
        if (FILE* made = std::fopen(target, "wb")) std::fclose(made);
    }
    for (int i = 0; i < 3000 && ::GetFileAttributesA("standin-wait.txt") != INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(20);
    return 0;
}
