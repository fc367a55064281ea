// Writes the project's test skins into a folder:
//   tarku_skingen <folder>   gives <folder>/Tarku and <folder>/TarkuDusk
#include "SkinGenerator.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarku_skingen <folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!WriteSkinFolder(folder + "/Tarku", ProjectPalette()) || !WriteSkinFolder(folder + "/TarkuDusk", DuskPalette())) {
        std::fprintf(stderr, "tarku_skingen: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
