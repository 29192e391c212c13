#pragma once
// ARB fragment programs for the fast render path: a program is its source text, compiled in the
// current context on first use and kept for the run.

struct FragmentProgram {
    const char* source = nullptr;
    unsigned id = 0; // 0 until compiled
    bool failed = false;
};

// Compiles the program if needed, binds it and turns fragment programs on. False (and nothing
// changed) when the source does not compile; the caller then draws the reference way.
bool useFragmentProgram(FragmentProgram& program);

// Turns fragment programs off again: fixed-function texturing takes over.
void endFragmentProgram();

// Sets local parameter `index` of the bound program.
void setProgramLocal(int index, float x, float y, float z, float w);
