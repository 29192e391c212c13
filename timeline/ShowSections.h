#pragma once
// The show's sections as the player and the command line see them: a name and a span of music
// time each, in order, covering the show from 0 to its end. Read from the section table
// (show/Sections.h), the one home of the names and the cuts. Plain data, no GL.

#include <span>
#include <string>
#include <string_view>

struct ShowSection {
    const char* name;
    int start; // ms
    int end;   // ms, the next section's start (the show's end for the last)
};

// The one place the player reads the section table from.
std::span<const ShowSection> showSections();

// The section playing at demo time t (the first before the show, the last from its end on).
const ShowSection& sectionAt(int t);

// The section of that name (spaces may be written as hyphens or underscores), or null.
const ShowSection* findSection(std::string_view name);

// "title, swarm, ...": the names, for messages.
std::string sectionNameList();
