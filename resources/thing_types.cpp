// The DOOM II thing types the editor knows, and their categories.
#include "resources/thing_types.h"

const char* const thingCategoryNames[kNumThingCategories] = {
    "Player start", "Enemy", "Weapon", "Ammunition", "Power-up", "Key", "Decoration", "Victim", "Corpse", "Spot",
};

const int32_t thingCategoryIconCells[kNumThingCategories - 1] = {48, 37, 55, 33, 53, 43, 36, 54, 35};

// type, sprite lump, name, category, radius
const ThingType thingTypes[kNumThingTypes] = {
    {1, "PLAYA1", "Player 1 start", 0, 16},                      // 0
    {2, "PLAYA1", "Player 2 start", 0, 16},                      // 1
    {3, "PLAYA1", "Player 3 start", 0, 16},                      // 2
    {4, "PLAYA1", "Player 4 start", 0, 16},                      // 3
    {11, "", "Deathmatch start", 0, 16},                         // 4
    {3004, "POSSA1", "Former Human", 1, 20},                     // 5
    {84, "SSWVA1", "Wolfenstein SS", 1, 20},                     // 6
    {9, "SPOSA1", "Former Human Sergeant", 1, 20},               // 7
    {65, "CPOSA1", "Former Human Commando", 1, 20},              // 8
    {3001, "TROOA1", "Imp", 1, 20},                              // 9
    {3002, "SARGA1", "Demon", 1, 30},                            // 10
    {58, "SARGA1", "Spectre", 1, 30},                            // 11
    {3006, "SKULA1", "Lost Soul", 1, 16},                        // 12
    {3005, "HEADA1", "Cacodemon", 1, 31},                        // 13
    {69, "BOS2A1C1", "Hell Knight", 1, 24},                      // 14
    {3003, "BOSSA1", "Baron Of Hell", 1, 24},                    // 15
    {68, "BSPIA1D1", "Arachnotron", 1, 64},                      // 16
    {71, "PAINA1", "Pain Elemental", 1, 31},                     // 17
    {66, "SKELA1D1", "Revenant", 1, 20},                         // 18
    {67, "FATTA1", "Mancubus", 1, 48},                           // 19
    {64, "VILEA1D1", "Arch-Vile", 1, 20},                        // 20
    {7, "SPIDA1D1", "Spider Mastermind", 1, 128},                // 21
    {16, "CYBRA1", "Cyberdemon", 1, 40},                         // 22
    {88, "BBRNA0", "Boss Brain", 1, 16},                         // 23
    {2005, "CSAWA0", "Chainsaw", 2, 20},                         // 24
    {2001, "SHOTA0", "Shotgun", 2, 20},                          // 25
    {82, "SGN2A0", "Combat shotgun", 2, 20},                     // 26
    {2002, "MGUNA0", "Chaingun", 2, 20},                         // 27
    {2003, "LAUNA0", "Rocket launcher", 2, 20},                  // 28
    {2004, "PLASA0", "Plasma gun", 2, 20},                       // 29
    {2006, "BFUGA0", "BFG 9000", 2, 20},                         // 30
    {2007, "CLIPA0", "Ammo clip", 3, 20},                        // 31
    {2008, "SHELA0", "4 Shotgun shells", 3, 20},                 // 32
    {2010, "ROCKA0", "Rocket", 3, 20},                           // 33
    {2047, "CELLA0", "Cell charge", 3, 20},                      // 34
    {2048, "AMMOA0", "Box of Ammo", 3, 20},                      // 35
    {2049, "SBOXA0", "Box of Shells", 3, 20},                    // 36
    {2046, "BROKA0", "Box of Rockets", 3, 20},                   // 37
    {17, "CELPA0", "Cell charge pack", 3, 20},                   // 38
    {8, "BPAKA0", "Backpack", 3, 20},                            // 39
    {2011, "STIMA0", "Stimpack", 4, 20},                         // 40
    {2012, "MEDIA0", "Medikit", 4, 20},                          // 41
    {2014, "BON1D0", "Health Potion", 4, 20},                    // 42
    {2015, "BON2D0", "Spiritual Armor", 4, 20},                  // 43
    {2018, "ARM1A0", "Security Armor", 4, 20},                   // 44
    {2019, "ARM2A0", "Combat Armor", 4, 20},                     // 45
    {83, "MEGAA0", "Mega Sphere", 4, 20},                        // 46
    {2013, "SOULA0", "Soul Sphere", 4, 20},                      // 47
    {2022, "PINVA0", "Invulnerability Artifact", 4, 20},         // 48
    {2023, "PSTRA0", "Berserk Pack", 4, 20},                     // 49
    {2024, "PINSA0", "Blur Artifact", 4, 20},                    // 50
    {2025, "SUITA0", "Radiation Suit", 4, 20},                   // 51
    {2026, "PMAPA0", "Computer Map", 4, 20},                     // 52
    {2045, "PVISA0", "Light Goggles", 4, 20},                    // 53
    {5, "BKEYA0", "Blue key-card", 5, 20},                       // 54
    {13, "RKEYA0", "Red key-card", 5, 20},                       // 55
    {6, "YKEYA0", "Yellow key-card", 5, 20},                     // 56
    {40, "BSKUA0", "Blue skull key", 5, 20},                     // 57
    {38, "RSKUA0", "Red skull key", 5, 20},                      // 58
    {39, "YSKUA0", "Yellow skull key", 5, 20},                   // 59
    {2035, "BAR1A0", "Barrel", 6, 10},                           // 60
    {70, "FCANA0", "Burning barrel", 6, 16},                     // 61
    {30, "COL1A0", "Tall green pillar", 6, 16},                  // 62
    {31, "COL2A0", "Short green pillar", 6, 16},                 // 63
    {32, "COL3A0", "Tall red pillar", 6, 16},                    // 64
    {33, "COL4A0", "Short red pillar", 6, 16},                   // 65
    {34, "CANDA0", "Candle", 6, 16},                             // 66
    {35, "CBRAA0", "Candelabra", 6, 16},                         // 67
    {36, "COL5A0", "Short green pillar with heart", 6, 16},      // 68
    {37, "COL6A0", "Short red pillar with skull", 6, 16},        // 69
    {41, "CEYEA0", "Evil Eye symbol", 6, 16},                    // 70
    {42, "FSKUA0", "Floating Skull", 6, 16},                     // 71
    {43, "TRE1A0", "Burnt, gray tree", 6, 16},                   // 72
    {47, "SMITA0", "Stalagmite", 6, 16},                         // 73
    {48, "ELECA0", "Tall Technocolumn", 6, 16},                  // 74
    {54, "TRE2A0", "Large brown tree", 6, 32},                   // 75
    {44, "TBLUA0", "Tall blue firestick", 6, 16},                // 76
    {45, "TGRNA0", "Tall green firestick", 6, 16},               // 77
    {46, "TREDA0", "Tall red firestick", 6, 16},                 // 78
    {55, "SMBTA0", "Short blue firestick", 6, 16},               // 79
    {56, "SMGTA0", "Short green firestick", 6, 16},              // 80
    {57, "SMRTA0", "Short red firestick", 6, 16},                // 81
    {85, "TLMPA0", "Tall technolamp", 6, 16},                    // 82
    {86, "TLP2A0", "Short technolamp", 6, 16},                   // 83
    {2028, "COLUA0", "Floor lamp", 6, 16},                       // 84
    {25, "POL1A0", "Impaled human", 7, 16},                      // 85
    {26, "POL6A0", "Twitching, impaled human", 7, 16},           // 86
    {27, "POL4A0", "Skull on a pole", 7, 16},                    // 87
    {28, "POL2A0", "5-skull shish-kebab", 7, 16},                // 88
    {29, "POL3A0", "Pile of skulls and candles", 7, 16},         // 89
    {49, "GOR1A0", "Hanged victim, twitching", 7, 16},           // 90
    {63, "GOR1A0", "Hanged victim, twitching (NB)", 7, 16},      // 91
    {50, "GOR2A0", "Suspended victim", 7, 16},                   // 92
    {59, "GOR2A0", "Suspended victim (NB)", 7, 16},              // 93
    {51, "GOR3A0", "Suspended victim, one-legged", 7, 16},       // 94
    {61, "GOR3A0", "Suspended victim, one-legged (NB)", 7, 16},  // 95
    {52, "GOR4A0", "Hanging pair of legs", 7, 16},               // 96
    {60, "GOR4A0", "Hanging pair of legs (NB)", 7, 16},          // 97
    {53, "GOR5A0", "Hanging single leg", 7, 16},                 // 98
    {62, "GOR5A0", "Hanging single leg (NB)", 7, 16},            // 99
    {73, "HDB1A0", "Hanging victim, no guts", 7, 16},            // 100
    {74, "HDB2A0", "Hanging victim, no guts/brain", 7, 16},      // 101
    {75, "HDB3A0", "Hanging torso, looking down", 7, 16},        // 102
    {76, "HDB4A0", "Hanging torso, open skull", 7, 16},          // 103
    {77, "HDB5A0", "Hanging torso, looking up", 7, 16},          // 104
    {78, "HDB6A0", "Hanging torso, no brain", 7, 16},            // 105
    {72, "KEENA0", "Hanging Billy", 7, 16},                      // 106
    {10, "PLAYW0", "Exploded player", 8, 16},                    // 107
    {15, "PLAYN0", "Dead player", 8, 16},                        // 108
    {18, "POSSL0", "Dead Former Human", 8, 20},                  // 109
    {19, "SPOSL0", "Dead Former Human Sergeant", 8, 20},         // 110
    {20, "TROOM0", "Dead Imp", 8, 20},                           // 111
    {21, "SARGN0", "Dead Demon", 8, 20},                         // 112
    {22, "HEADL0", "Dead Cacodemon", 8, 20},                     // 113
    {24, "POL5A0", "Pool of blood and guts", 8, 20},             // 114
    {79, "POB1A0", "Pool of guts", 8, 20},                       // 115
    {80, "POB2A0", "Pool of blood", 8, 20},                      // 116
    {81, "BRS1A0", "Pool of brains", 8, 20},                     // 117
    {14, "", "Teleport landing", 9, 0},                          // 118
    {89, "", "Boss Shooter", 9, 0},                              // 119
    {87, "", "Spawn Spot", 9, 0},                                // 120
};
