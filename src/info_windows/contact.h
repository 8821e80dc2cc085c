#pragma once

// Where users send questions and comments; shown by the about window and in the help document.
inline constexpr char kContactLine[] =
    "Tavrel Data Desk, Olmsgard Field Station - tavrel-data@example.org, (555) 010-0142";
