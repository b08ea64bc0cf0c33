#include "cli/Cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    return tqz::cli::run({argv + 1, argv + argc}, std::cout, std::cerr);
}
