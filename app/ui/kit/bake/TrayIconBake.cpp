// Build-time tool: renders the tray icon of every symbol the tray shows, at every size, into a
// C++ source of pixel tables (argument: the file to write). The program then shows its tray
// icon without loading a font renderer while it idles in the tray.

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include <QGuiApplication>
#include <QImage>

#include "app/ui/kit/TrayIconRenderer.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: solvara_tray_icon_bake <output.cpp>\n";
        return 2;
    }
    std::ofstream out(argv[1]);
    out << "// Made at build time by solvara_tray_icon_bake: the tray icons as premultiplied ARGB32.\n"
        << "#include \"app/ui/kit/TrayIconRenderer.h\"\n\nnamespace solvara {\n\nnamespace {\n";
    std::string entries;
    int index = 0;
    for (const char* symbol : solvara::TrayIconRenderer::symbols) {
        for (const int size : solvara::TrayIconRenderer::sizes) {
            const QImage image =
                solvara::TrayIconRenderer::render(symbol, size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            out << "const unsigned int pixels" << index << "[] = {";
            for (int y = 0; y < size; ++y) {
                const auto* line = reinterpret_cast<const unsigned int*>(image.constScanLine(y));
                for (int x = 0; x < size; ++x) out << "0x" << std::hex << line[x] << std::dec << "u,";
                out << "\n";
            }
            out << "};\n";
            entries += "    {\"" + std::string(symbol) + "\", " + std::to_string(size) + ", pixels" +
                       std::to_string(index) + "},\n";
            ++index;
        }
    }
    out << "\n}  // namespace\n\nconst TrayIconRenderer::Baked TrayIconRenderer::baked[] = {\n"
        << entries << "};\nconst int TrayIconRenderer::bakedCount = " << index << ";\n\n}  // namespace solvara\n";
    return out ? 0 : 1;
}
