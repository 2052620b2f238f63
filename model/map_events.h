// How the map tells whoever shows it that something changed. The editor's
// window installs a handler (the title, the build's drawings); the
// command-line tool leaves it empty and nothing is told.
#pragma once

enum class MapEvent {
    kStateChanged,  // the file name, the map slot or the modified flag changed
    kCleared,       // every record was freed: what was built from them is stale
};

extern void (*mapEventHandler)(MapEvent event);

// Calls the handler, when there is one.
void NotifyMapEvent(MapEvent event);
