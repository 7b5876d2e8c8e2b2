// The palette picture of TTabulix: 24 x 24 pixels in the 16 standard colours (XPM).

namespace tabulix::design {

extern const char* const kBitmapTTabulix[];
const char* const kBitmapTTabulix[] = {
    "24 24 9 1",
    "s c #C0C0C0",
    "w c #FFFFFF",
    "k c #000000",
    "n c #000080",
    "t c #008080",
    "g c #808080",
    "b c #0000FF",
    "y c #FFFF00",
    "r c #800000",
    "ssssssssssssssssssssssss",
    "skkkkkkkkkkkkkkkkkkkkkks",
    "sknnnnnnnnnnnnnnnnnnnnkg",
    "sknnnnnnnwwwwwwnnnnnnnkg",
    "sknnnnnnnnnwwnnnnnnnnnkg",
    "sknnnnnnnnnwwnnnnnnnnnkg",
    "skwwwwwwwwwwwwwwwwwwwwkg",
    "skggggggggggggggggggggkg",
    "skgttttttgtttttgtttttgkg",
    "skgttttttgtttttgtttttgkg",
    "skggggggggggggggggggggkg",
    "skgwbbbbwgwbbbwgwbbbwgkg",
    "skgwwwwwwgwwwwwgwwwwwgkg",
    "skggggggggggggggggggggkg",
    "skgwbbbwwgwbbwwgwbbwwgkg",
    "skgwwwwwwgwwwwwgwwwwwgkg",
    "skggggggggggggggggggggkg",
    "skgwwwwwwgwwwwwgrrrrygkg",
    "skgwwwwwwgkkkkkgyryyygkg",
    "skgwwwwwwgwwwwwgyryyygkg",
    "skgwwwwwwgwwwwwgrrrrygkg",
    "skggggggggggggggggggggkg",
    "skkkkkkkkkkkkkkkkkkkkkkg",
    "ssgggggggggggggggggggggg"
};

}  // namespace tabulix::design
