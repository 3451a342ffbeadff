#pragma once

// Set by the tests' main when an X server and xclip are there.
extern bool gHaveX;
