// vellum text: placeholder until the document commands land.
#include <cstdio>

#include "Commands.h"

int RunText(HostSession&, const std::vector<std::string>&) {
    std::fprintf(stderr, "vellum text: not available in this build\n");
    return 2;
}

int RunMarkup(HostSession&, const std::vector<std::string>&) {
    std::fprintf(stderr, "vellum markup: not available in this build\n");
    return 2;
}
