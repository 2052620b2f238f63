// A seeded walk of random edits for the tests: each step is a map script
// (tests/test_support.h RunScript) - a room or a triangle drawn either way
// round, a vertex inserted, dragged or deleted, a sector deleted, a thing
// placed or dragged, a linedef flipped, the grid changed. A step may set the
// selection first.
#pragma once

#include <random>
#include <sstream>
#include <string>

#include "model/map.h"
#include "resources/thing_types.h"

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random(seed) {}

    std::mt19937 random;

    int Below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
    // Coordinates on a coarse lattice, so that corners often meet existing
    // vertices and walls.
    int Coordinate() { return (Below(17) - 8) * 32 + (Below(4) == 0 ? Below(32) : 0); }

    template <class T>
    T* Pick(T* head, int count) {
        if (count == 0) return nullptr;
        int n = Below(count);
        T* r = head;
        while (n-- > 0) r = r->next;
        return r;
    }

    std::string Polygon() {
        std::ostringstream s;
        const int x = Coordinate(), y = Coordinate(), w = 32 * (1 + Below(6)), h = 32 * (1 + Below(6));
        const bool clockwise = Below(3) != 0;
        if (Below(2) == 0) {
            s << "sector " << x << " " << y;
            if (clockwise)
                s << "  " << x << " " << y + h << "  " << x + w << " " << y + h << "  " << x + w << " " << y;
            else
                s << "  " << x + w << " " << y << "  " << x + w << " " << y + h << "  " << x << " " << y + h;
        } else {
            s << "sector " << x << " " << y;
            if (clockwise)
                s << "  " << x + w / 2 << " " << y + h << "  " << x + w << " " << y;
            else
                s << "  " << x + w << " " << y << "  " << x + w / 2 << " " << y + h;
        }
        return s.str();
    }

    // One random edit, described for the failure message.
    std::string Step() {
        std::ostringstream s;
        switch (Below(10)) {
            case 0:
            case 1:
            case 2:
                s << Polygon() << "\nkey escape";
                break;
            case 3:
                if (Linedef* l = Pick(linedefs, numlinedefs)) {
                    const float t = 0.2f + 0.6f * static_cast<float>(Below(100)) / 100;
                    s << "insert " << l->startVertex->x + (l->endVertex->x - l->startVertex->x) * t << " "
                      << l->startVertex->y + (l->endVertex->y - l->startVertex->y) * t;
                }
                break;
            case 4:
                if (Vertex* v = Pick(vertices, numvertices)) {
                    s << "drag " << v->x << " " << v->y << "  " << v->x + Below(129) - 64 << " "
                      << v->y + Below(129) - 64;
                }
                break;
            case 5:
                if (Vertex* v = Pick(vertices, numvertices)) {
                    selection = {kObjectVertex, v};
                    s << "key delete";
                }
                break;
            case 6:
                if (Sector* sector = Pick(sectors, numsectors); sector && Below(3) == 0) {
                    selection = {kObjectSector, sector};
                    s << "key delete";
                }
                break;
            case 7:
                if (Below(2))
                    s << "thing " << Below(kNumThingTypes) << " " << Coordinate() << " " << Coordinate();
                else if (Thing* t = Pick(things, numthings))
                    s << "drag " << t->x << " " << t->y << "  " << Coordinate() << " 0";
                break;
            case 8:
                if (Linedef* l = Pick(linedefs, numlinedefs)) {
                    selection = {kObjectLinedef, l};
                    s << "key flip";
                }
                break;
            case 9:
                s << "grid " << (Below(2) ? 0 : 8 << Below(4));
                break;
        }
        return s.str();
    }
};
