// The program's icon: a sine over nine bars, 32x32 and 16x16, 16 colours.

#include "ProgramIcon.h"

namespace vindrel {

namespace {

const char* const icon32[] = {"32 32 8 1",
                              ". c None",
                              "a c #0B1A3A",
                              "b c #163A7A",
                              "c c #2F6FD0",
                              "d c #F2C230",
                              "e c #FFFFFF",
                              "f c #7FB2FF",
                              "g c #0F2858",
                              ".....aaaaaaaaaaaaaaaaaaaaaa.....",
                              "..aaaaaaaaaaaaaaaaaaaaaaaaaaaa..",
                              ".aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.",
                              ".aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.",
                              ".aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.",
                              "aaaadddaaaaaaaaaaaaaaaaadddaaaaa",
                              "aaadddddaaaaaaaaaaaaaaadddddaaaa",
                              "aadddaddaaaaaaaaaaaaaaaddaaddaaa",
                              "aaddaaaddaaaaaaaaaaaaaddaaaaddaa",
                              "addaaaaaddaaaaaaaaaaaaddaaaaddaa",
                              "adaaaaaaddaaaaaaaaaaaddaaaaaadda",
                              "ddaaaaaaaddaaaaaaaaaadaaaaaaadda",
                              "daaaaaaaaddaaaaaaaaaddaaaaaaaadd",
                              "daaaaaaaaadaaaaaaaaadaaaaaaaaadd",
                              "aaaaaaaaaaddaaaaaaaddaaaaaaaaaad",
                              "aaaaaaaaaaadaaaaaaaddaaaaaaaaaad",
                              "gggggggggggddgggggddgggggggggggg",
                              "ggggggggggggddggggddgggggggggggg",
                              "ggggggggggggdddggddggggggggggggg",
                              "gggggggggggggdddddgggggggggggggg",
                              "ggggggggggggggdddggggggggggggggg",
                              "gggggggggggggggggggggggggggggggg",
                              "ggggggcgggggggggggggggcggggggggg",
                              "ggggggcgggggggggcgggggcgggggcggg",
                              "ggggggcgggggcgggcgggggcgggggcggg",
                              "ggggggcggcggcgggcgggggcgggggcggg",
                              "ggggggcggcggcgggcggcggcggcggcggg",
                              ".gggggcggcggcgggcggcggcggcggcgg.",
                              ".ggcggcggcggcgggcggcggcggcggcgg.",
                              ".ggcggcggcggcgggcggcggcggcggcgg.",
                              "..gggggggggggggggggggggggggggg..",
                              ".....gggggggggggggggggggggg....."};

const char* const icon16[] = {
    "16 16 8 1",        ". c None",         "a c #0B1A3A",      "b c #163A7A",
    "c c #2F6FD0",      "d c #F2C230",      "e c #FFFFFF",      "f c #7FB2FF",
    "g c #0F2858",      "..aaaaaaaaaaaa..", ".aaaaaaaaaaaaaa.", "aaaaaaaaaaaaaaaa",
    "adddaaaaaaadddaa", "ddaddaaaaaddadda", "daaadaaaaadaaada", "daaaddaaaadaaadd",
    "aaaaadaaadaaaaad", "gggggddggdgggggd", "ggggggdddggggggg", "gggggcgdgggggggg",
    "gggggcggggcggcgg", "gggggcggcgcggcgg", "ggcggcggcgcggcgg", ".gggggggggggggg.",
    "..gggggggggggg.."};

} // namespace

const char* const* const programIconImages[] = {icon32, icon16, nullptr};

} // namespace vindrel
