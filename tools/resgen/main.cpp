// Draws the program's built-in pictures and writes them as a C++ source
// that holds each PNG file as bytes under its resource name:
//   tarku_resgen <output.cpp>
#include "Pictures.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarku_resgen <output.cpp>\n");
        return 2;
    }
    const auto pictures = BuiltInPictures();
    std::ofstream out(argv[1], std::ios::binary);
    out << "// Written by tarku_resgen; do not edit.\n#include \"skin/acResources.h\"\n\nnamespace {\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        out << "const unsigned char r" << i << "[] = {";
        const std::string& bytes = pictures[i].second;
        for (size_t k = 0; k < bytes.size(); ++k)
            out << (k % 20 == 0 ? "\n    " : " ") << unsigned(uint8_t(bytes[k])) << ",";
        out << "\n};\n";
    }
    out << "} // namespace\n\nconst TacResource acResourceTable[] = {\n";
    for (size_t i = 0; i < pictures.size(); ++i)
        out << "    {\"" << pictures[i].first << "\", r" << i << ", sizeof r" << i << "},\n";
    out << "};\nconst size_t acResourceCount = " << pictures.size() << ";\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "tarku_resgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
