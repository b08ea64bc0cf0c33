// Writes one generated school, to look at or to convert by hand:
//   tqz_generate_school SCALE SEED FOLDER    → FOLDER/horario.xml and FOLDER/SOLUC.DBF

#include "SchoolGenerator.h"


#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "uso: tqz_generate_school ESCALA SEMILLA CARPETA\n";
        return 2;
    }
    try {
        const int scale = std::stoi(argv[1]);
        const auto seed = std::stoull(argv[2]);
        const tqz::bench::School school = tqz::bench::generateSchool(scale, seed);
        tqz::bench::writeSchool(school, argv[3], "horario.xml");
        std::cout << argv[3] << ": " << school.profesores.size() << " profesores, " << school.aulas.size()
                  << " aulas, " << school.grupos.size() << " grupos, " << school.materias.size() << " materias, "
                  << school.asignaturas.size() << " asignaturas, " << school.tramos.size() << " tramos, "
                  << school.lessons.size() << " filas en SOLUC\n";
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
