#include "Art.h"

namespace {

const std::vector<std::string> Head = {
    "     kkkkkk     ",
    "    kttttttk    ",
    "   kttttttttk   ",
    "   ktttkkkkttk  ",
    "   kttksssssk   ",
    "   kttkswsswk   ",
    "   kttksssssk   ",
    "   kTttkkkkk    ",
    "  kkttttttttkk  ",
    " kTtkttttttkTtk ",
    " kssktttttTkssk ",
    "  kkkttttttkkk  ",
    "    kTTTTTTk    ",
    "    kttkkttk    ",
};

const std::vector<std::string> LegsStand = {
    "    ktk  ktk    ",
    "    ktk  ktk    ",
    "    ktk  ktk    ",
    "   kbbk  kbbk   ",
    "   kbbbk kbbbk  ",
    "    kkk   kkk   ",
};
const std::vector<std::string> LegsStride = {
    "   ktk    ktk   ",
    "  ktk      ktk  ",
    " kbbk      kbk  ",
    " kbbbk     kbbk ",
    "  kkk       kkk ",
    "                ",
};
const std::vector<std::string> LegsPass = {
    "     ktkktk     ",
    "     ktkktk     ",
    "     ktkkbbk    ",
    "    kbbk kkk    ",
    "    kbbbk       ",
    "     kkk        ",
};
const std::vector<std::string> LegsTuck = {
    "   ktk   ktk    ",
    "   kbbk kbbk    ",
    "   kbbbkkbbbk   ",
    "    kkk  kkk    ",
    "                ",
    "                ",
};
const std::vector<std::string> LegsDangle = {
    "    ktk  ktk    ",
    "    ktk   ktk   ",
    "   kbbk   kbbk  ",
    "   kbbbk  kbbbk ",
    "    kkk    kkk  ",
    "                ",
};

const std::string Keys = "ktTswb";

std::vector<Colour> Colours(bool alternate)
{
    using namespace Palette;
    return {Ink, alternate ? TealDark : Teal, alternate ? Teal : TealDark, Skin, White, Navy};
}

}  // namespace

void DrawPlayer(Canvas& canvas, int x, int y, int size, Pose pose, bool mirror)
{
    int lift = 0;
    const std::vector<std::string>* legs = &LegsStand;
    bool alternate = false;
    switch (pose) {
    case Pose::Idle0: break;
    case Pose::Idle1: lift = 1; break;
    case Pose::Run0: legs = &LegsStride; break;
    case Pose::Run1: legs = &LegsPass; lift = -1; break;
    case Pose::Run2: legs = &LegsStride; alternate = true; break;
    case Pose::Run3: legs = &LegsPass; lift = -1; alternate = true; break;
    case Pose::Jump: legs = &LegsTuck; break;
    case Pose::Fall: legs = &LegsDangle; break;
    case Pose::Dash: legs = &LegsTuck; break;
    }
    const std::vector<Colour> colours = Colours(alternate);
    // Idle breathing squats the head one block onto the legs.
    canvas.PixelArt(x, y + (lift > 0 ? size : 0) + (lift < 0 ? -size : 0) + size, size, Head, Keys, colours, mirror);
    canvas.PixelArt(x, y + 14 * size, size, *legs, Keys, colours, mirror);
    if (pose == Pose::Dash) {
        // Speed lines trail behind.
        for (int i = 0; i < 3; ++i) {
            const int lineY = y + (5 + i * 4) * size;
            const int from = mirror ? x + 13 * size : x;
            canvas.Rect(from, lineY, from + 3 * size, lineY + size / 2 + 1, Colour{1, 1, 1, 0.8f});
        }
    }
}

void DrawEnemy(Canvas& canvas, int x, int y, int size, bool wingsUp)
{
    using namespace Palette;
    const std::vector<std::string> up = {
        "k                  k",
        "kk                kk",
        "kvk              kvk",
        "kvvk    kkkk    kvvk",
        " kvvk kkppppkk kvvk ",
        " kvvvkppppppppkvvvk ",
        "  kvvkppppppppkvvk  ",
        "  kvkppwwwwwwppkvk  ",
        "   kkpwwwwwwwwpkk   ",
        "    kpwwwkkwwwpk    ",
        "    kpwwwkkwwwpk    ",
        "    kpwwwwwwwwpk    ",
        "    kppwwwwwwppk    ",
        "     kppppppppk     ",
        "     kpkppppkpk     ",
        "      kgkppkgk      ",
        "       k kk k       ",
    };
    const std::vector<std::string> down = {
        "                    ",
        "                    ",
        "                    ",
        "        kkkk        ",
        "      kkppppkk      ",
        "     kppppppppk     ",
        "    kppppppppppk    ",
        "  kkkppwwwwwwppkkk  ",
        " kvvkpwwwwwwwwpkvvk ",
        "kvvvkpwwwkkwwwpkvvvk",
        "kvvk kpwwkkwwwpk kvk",
        "kvk  kpwwwwwwwpk  kk",
        "kk   kppwwwwwwppk  k",
        "k     kppppppppk    ",
        "      kpkppppkpk    ",
        "       kgkppkgk     ",
        "        k kk k      ",
    };
    canvas.PixelArt(x, y + size, size, wingsUp ? up : down, "kpvwg", {Ink, Purple, Violet, Cream, Gold});
}
