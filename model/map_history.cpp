// Undo and redo as differences between the map file's bytes of neighbouring
// states.
#include "model/map_history.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "model/map.h"
#include "model/map_events.h"
#include "model/map_file.h"

namespace {

// A state given by its neighbour, piece by piece: the map file's header and
// each chunk's header and records are pieces of their own, so that a record
// added at the end of one chunk and the count at its start are not one long
// difference. Each piece is the neighbour's piece's first `prefix` bytes,
// then `middle`, then its last `suffix` bytes.
struct Piece {
    std::size_t prefix = 0;
    std::size_t suffix = 0;
    std::string middle;
};
struct Step {
    std::vector<Piece> pieces;
    int64_t state = 0;  // which state it gives, for the saved state's mark
    // What it keeps in memory.
    std::size_t Bytes() const {
        std::size_t n = sizeof(Step) + pieces.size() * sizeof(Piece);
        for (const Piece& p : pieces) n += p.middle.size();
        return n;
    }
};

uint32_t ReadU32(const std::string& bytes, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
    return v;
}

// Where the pieces of a map file's bytes end: after the file and first chunk
// headers, then after each chunk's records and the next chunk's header. The
// whole as one piece when the bytes do not have that shape.
std::vector<std::size_t> PieceEnds(const std::string& bytes) {
    static const std::size_t kRecordSizes[] = {kVertexRecordSize, kSectorRecordSize, kLinedefRecordSize,
                                               kThingRecordSize};
    std::vector<std::size_t> ends;
    std::size_t at = 8;  // "KDM " and the map slot
    for (const std::size_t size : kRecordSizes) {
        if (at + 8 > bytes.size()) return {bytes.size()};
        const std::size_t count = ReadU32(bytes, at + 4);
        at += 8;
        ends.push_back(at);
        if (count > (bytes.size() - at) / size) return {bytes.size()};
        at += count * size;
        ends.push_back(at);
    }
    if (at != bytes.size()) return {bytes.size()};
    return ends;
}

Piece MakePiece(std::string_view neighbour, std::string_view wanted) {
    const std::size_t shorter = std::min(neighbour.size(), wanted.size());
    std::size_t prefix = 0;
    while (prefix < shorter && neighbour[prefix] == wanted[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && neighbour[neighbour.size() - 1 - suffix] == wanted[wanted.size() - 1 - suffix])
        ++suffix;
    return {prefix, suffix, std::string(wanted.substr(prefix, wanted.size() - prefix - suffix))};
}

std::vector<std::string_view> Split(const std::string& bytes, const std::vector<std::size_t>& ends) {
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (const std::size_t end : ends) {
        pieces.emplace_back(bytes.data() + from, end - from);
        from = end;
    }
    return pieces;
}

// The step that gives `wanted` from `neighbour`.
Step MakeStep(const std::string& neighbour, const std::string& wanted, int64_t state) {
    std::vector<std::size_t> a = PieceEnds(neighbour), b = PieceEnds(wanted);
    if (a.size() != b.size()) a = {neighbour.size()}, b = {wanted.size()};
    const std::vector<std::string_view> from = Split(neighbour, a), to = Split(wanted, b);
    Step step;
    step.state = state;
    for (std::size_t i = 0; i < from.size(); ++i) step.pieces.push_back(MakePiece(from[i], to[i]));
    return step;
}

std::string ApplyStep(const std::string& neighbour, const Step& step) {
    std::vector<std::size_t> ends = PieceEnds(neighbour);
    if (ends.size() != step.pieces.size()) ends = {neighbour.size()};
    const std::vector<std::string_view> from = Split(neighbour, ends);
    std::string state;
    for (std::size_t i = 0; i < from.size(); ++i) {
        const Piece& p = step.pieces[i];
        state.append(from[i].substr(0, p.prefix));
        state.append(p.middle);
        state.append(from[i].substr(from[i].size() - p.suffix));
    }
    return state;
}

std::string current;  // the map file's bytes of the current state
bool haveCurrent = false;
int64_t currentState = 0;
int64_t lastState = 0;
int64_t savedState = -1;  // the state the map file holds; -1 when none of these
uint64_t changes = 0;     // counted by NoteMapChanged
uint64_t committedChanges = 0;
std::deque<Step> undoSteps;   // oldest first; the last gives the state before current
std::vector<Step> redoSteps;  // the last gives the state after current
std::size_t stepBytes = 0;    // what the steps of both keep

void DropRedoSteps() {
    for (const Step& step : redoSteps) stepBytes -= step.Bytes();
    redoSteps.clear();
}

void TrimUndoSteps() {
    while (!undoSteps.empty() && (undoSteps.size() > kMaxUndoSteps ||
                                  (stepBytes + current.size() > kMaxUndoBytes && undoSteps.size() > kMinUndoSteps))) {
        stepBytes -= undoSteps.front().Bytes();
        undoSteps.pop_front();
    }
}

// Makes `state` the map, and the modified flag true unless it is the saved one.
void Become(std::string state, int64_t id) {
    current = std::move(state);
    currentState = id;
    RestoreMapBytes(current);
    committedChanges = changes;
    mapModified = currentState == savedState ? 0 : 1;
    NotifyMapEvent(MapEvent::kStateChanged);
}

}  // namespace

void ResetMapHistory() {
    undoSteps.clear();
    redoSteps.clear();
    stepBytes = 0;
    current = EncodeMapFile();
    haveCurrent = true;
    currentState = ++lastState;
    savedState = mapModified ? -1 : currentState;
    committedChanges = changes;
}

void CommitMapChange() {
    if (changes == committedChanges && haveCurrent) return;
    committedChanges = changes;
    std::string state = EncodeMapFile();
    if (!haveCurrent) {
        // Nothing was kept before this change: it cannot be taken back.
        current = std::move(state);
        haveCurrent = true;
        currentState = ++lastState;
        return;
    }
    if (state == current) return;
    Step back = MakeStep(state, current, currentState);
    stepBytes += back.Bytes();
    undoSteps.push_back(std::move(back));
    DropRedoSteps();
    current = std::move(state);
    currentState = ++lastState;
    TrimUndoSteps();
    // A change that did not say so (a dialog's OK) still makes the map modified.
    if (!mapModified) {
        mapModified = 1;
        NotifyMapEvent(MapEvent::kStateChanged);
    }
}

void NoteMapChanged() { ++changes; }

void NoteMapSaved() {
    CommitMapChange();
    savedState = currentState;
}

bool CanUndoMapChange() { return !undoSteps.empty() || changes != committedChanges; }

bool CanRedoMapChange() { return !redoSteps.empty() && changes == committedChanges; }

bool UndoMapChange() {
    CommitMapChange();
    if (undoSteps.empty()) return false;
    Step back = std::move(undoSteps.back());
    undoSteps.pop_back();
    stepBytes -= back.Bytes();
    std::string before = ApplyStep(current, back);
    Step forward = MakeStep(before, current, currentState);
    stepBytes += forward.Bytes();
    redoSteps.push_back(std::move(forward));
    Become(std::move(before), back.state);
    return true;
}

bool RedoMapChange() {
    if (!CanRedoMapChange()) return false;
    Step forward = std::move(redoSteps.back());
    redoSteps.pop_back();
    stepBytes -= forward.Bytes();
    std::string after = ApplyStep(current, forward);
    Step back = MakeStep(after, current, currentState);
    stepBytes += back.Bytes();
    undoSteps.push_back(std::move(back));
    Become(std::move(after), forward.state);
    return true;
}

MapHistoryUsage MapHistorySize() { return {undoSteps.size(), redoSteps.size(), stepBytes + current.size()}; }
