// Every dump reader on arbitrary bytes: the record parsers, the buffer
// loader (by extension, into a small and an EditorMode buffer) and the raw
// file buffer loader, which also judges foreign extensions by content.
#include "buffer/FileServ.h"

#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TDumpError error;
    // EditorMode loads take the size a file describes (up to 512 MiB); the
    // fuzzer tries them on small images only, to stay fast.
    uint64_t largest = 0;
    for (auto parse : {ParseHexText, ParseS19Text, ParseEefText}) {
        TDumpImage image;
        if (parse(text, image, error)) {
            largest = std::max(largest, image.Size);
            // Laying the image out must stay inside any buffer.
            std::vector<uint8_t> small(33);
            image.CopyTo(small.data(), small.size());
            // What was read, written in each format, reads back the same.
            if (image.Size <= 0x20000) {
                TDumpBuffer b;
                b.SetSize(int64_t(image.Size));
                image.CopyTo(b.Data.data(), size_t(image.Size));
                std::string eef;
                MakeEefText(b, "", "", eef);
                const std::pair<bool (*)(const std::string&, TDumpImage&, TDumpError&), std::string> written[] = {
                    {ParseHexText, MakeHexText(b)}, {ParseS19Text, MakeS19Text(b)}, {ParseEefText, eef}};
                for (const auto& [reparse, again] : written) {
                    TDumpImage back;
                    if (!reparse(again, back, error) || back.Size != image.Size)
                        std::abort();
                    std::vector<uint8_t> flat(size_t(image.Size));
                    back.CopyTo(flat.data(), flat.size());
                    if (!std::equal(flat.begin(), flat.end(), b.Data.begin()))
                        std::abort();
                }
            }
        }
    }
    std::string bytes;
    int count;
    int64_t address;
    ParseEefRecord(text, bytes, count, address);
    CheckEefRecord(text);

    static const std::string dir = [] {
        char tmpl[] = "/tmp/fuzz-fileserv-XXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    static std::vector<uint8_t> raw(RawFileBufferSize);
    for (const char* ext : {".hex", ".s19", ".eef", ".bin"}) {
        const std::string name = dir + "/f" + ext;
        testsupport::WriteFileBytes(name, text);
        for (bool editor : {false, true}) {
            if (editor && largest > (1u << 20))
                continue;
            TDumpBuffer b;
            b.SetSize(40);
            b.EditorMode = editor;
            TDumpLoadInfo info;
            LoadDumpFile(b, name, info);
        }
        std::string message;
        LoadFileToArray(raw, name, &message);
    }
    return 0;
}
