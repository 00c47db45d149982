// The lab namespace check (same rule as lab/zlab.py current_lab_namespace).
#include "LabGuard.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

std::string FindLabNamespace(const char* selfNamespace, const char* namespaceDir) {
    struct stat self;
    if (stat(selfNamespace, &self) != 0) return std::string();
    DIR* dir = opendir(namespaceDir);
    if (!dir) return std::string();
    std::string found;
    while (struct dirent* entry = readdir(dir)) {
        if (strncmp(entry->d_name, "zt", 2) != 0) continue;
        std::string path = std::string(namespaceDir) + "/" + entry->d_name;
        struct stat other;
        if (stat(path.c_str(), &other) == 0 && other.st_ino == self.st_ino && other.st_dev == self.st_dev) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

std::string RequireLabNamespace(const char* program) {
    std::string name = FindLabNamespace();
    if (name.empty()) {
        fprintf(stderr,
                "REFUSED: %s sends datagrams and may run only inside a lab network namespace.\n"
                "  This process runs in another network namespace; nothing was started and nothing was sent.\n"
                "  Run it through lab/zlab run (or the test runner, which does).\n",
                program);
        exit(3);
    }
    return name;
}
