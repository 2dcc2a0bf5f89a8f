// Writes the instrument's description at build time: the template with its control ports
// filled in from the settings table. Usage: make_description TEMPLATE OUTPUT
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "lv2/port_description.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_description TEMPLATE OUTPUT\n";
        return 64;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    std::string description = text.str();
    const std::string marker = "@CONTROL_PORTS@";
    const auto at = description.find(marker);
    if (!in || at == std::string::npos) {
        std::cerr << "make_description: " << argv[1] << " holds no " << marker << "\n";
        return 1;
    }
    description.replace(at, marker.size(), sordanel::lv2::DescribeControlPorts());
    std::ofstream out(argv[2]);
    out << description;
    out.close();
    if (!out) {
        std::cerr << "make_description: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
