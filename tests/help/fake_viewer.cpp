// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for a system-information viewer: writes how it was started, its arguments one a line,
// to viewer-started.txt in the current folder.
#include <fstream>

int main(int argc, char *argv[])
{
    std::ofstream record("viewer-started.txt");
    for (int i = 0; i < argc; ++i)
        record << argv[i] << '\n';
}
