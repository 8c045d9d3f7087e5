// formconv: converts a form file between the text and the binary format.
//
//     formconv [-t | -b] INPUT OUTPUT
//
// Without an option the input's format is found from its first bytes and
// the output is the other one; -t writes text, -b binary.

#include "host/stream/FormBinary.h"
#include "host/stream/Writer.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

int Usage() {
    std::cerr << "usage: formconv [-t | -b] INPUT OUTPUT\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int arg = 1;
    char to = 0;
    if (argc > arg && (std::string(argv[arg]) == "-t" || std::string(argv[arg]) == "-b")) to = argv[arg++][1];
    if (argc - arg != 2) return Usage();
    std::ifstream in(argv[arg], std::ios::binary);
    if (!in) {
        std::cerr << "formconv: cannot read " << argv[arg] << "\n";
        return 1;
    }
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        const host::TFormObject tree = host::ParseFormData(data);
        if (!to) to = host::IsBinaryForm(data) ? 't' : 'b';
        const std::string out = to == 't' ? host::FormTreeText(tree) : host::FormTreeBinary(tree);
        std::ofstream file(argv[arg + 1], std::ios::binary);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!file) {
            std::cerr << "formconv: cannot write " << argv[arg + 1] << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "formconv: " << argv[arg] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
