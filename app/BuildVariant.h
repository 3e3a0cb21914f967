// The program's title and the build-variant markers the main window looks for in it. The
// standard build's title carries no marker; the authoring build (the CMake option
// SORVANE_AUTHORING, which defines the macro of that name for the program) carries "β", which
// opens the link editor and the tool palette. "Plus" and "Original" are the markers of builds
// that only show the keyword-colouring button; no build of this project carries them.
#pragma once

inline constexpr char kStandardTitle[] = "Sorvane 36 Lite";
inline constexpr char kAuthoringTitle[] = "Sorvane 36 Lite β";

inline constexpr char kAuthoringMarker[] = "β";
inline constexpr char kColourMarker[] = "Plus";
inline constexpr char kOriginalMarker[] = "Original";

// The title of the program being built (UTF-8). Only the program's entry asks, and only it is
// compiled with the build's option; tests give the main window the title they mean to try. Kept
// local to each file that sees it, so the program and the library may see different answers.
namespace {
inline const char* ApplicationTitle()
{
#ifdef SORVANE_AUTHORING
    return kAuthoringTitle;
#else
    return kStandardTitle;
#endif
}
}  // namespace
