// Long comparison of the program's mortgage search with the plain one.
// Usage: confronto_mutuo [inputs] [seed]; prints the number of differences.
#include "CasiMutuo.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long quanti = argc > 1 ? std::atol(argv[1]) : 20000;
    const unsigned long long seme = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261208;
    casi::Generatore generatore(seme);
    long differenze = 0;
    for (long i = 0; i < quanti; ++i) {
        const std::string esito = casi::Confronta(generatore.Prossimo());
        if (!esito.empty()) {
            ++differenze;
            if (differenze <= 20)
                std::printf("input %ld: %s\n", i, esito.c_str());
        }
    }
    std::printf("inputs: %ld, differences: %ld\n", quanti, differenze);
    return differenze == 0 ? 0 : 1;
}
