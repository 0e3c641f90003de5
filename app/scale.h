// The display scale, and the conversions between the three kinds of pixels
// the program meets:
//   art pixels      the 40 x 40 pixels of her frames;
//   screen pixels   what the program draws and places windows with (it
//                   declares per-monitor DPI awareness, so Windows enlarges
//                   nothing of it);
//   logical pixels  the coordinates Windows gives a program without DPI
//                   awareness: screen pixels counted at 96 per inch of the
//                   system DPI. The positions in the settings file and the
//                   panel's position line are in them, as they always were.
// Her scale is a whole number k of screen pixels per art pixel (2 at 96
// DPI), so that every art pixel is a solid k x k block. Every other length
// of the program was laid out at k = 2 (the 160 x 60 panel, its font and
// text, its place beside her) and grows with her, by k / 2.
#pragma once

#include <windows.h>

constexpr int kArtSize = 40;    // her frames are kArtSize x kArtSize art pixels
constexpr int kDesignScale = 2; // the scale the program's lengths were laid out at

// The whole number nearest to dpi / 48 (2 at 96 DPI, 3 at 144, 4 at 192),
// the lower one at a tie: 2 at 120 DPI (125 %), 3 at 168 (175 %). Windows
// gives no DPI below 96, its smallest scale being 100 %.
int ScaleForDpi(UINT dpi);

// The scale she and the panel are drawn at now: gMascot.scale, or the
// design scale while her window has not told its DPI yet.
int CurrentScale();

int ArtToScreen(int artPixels);
int MascotSize(); // her window's width and height
int MascotSizeForDpi(UINT dpi);

// A length laid out at the design scale, at the current one (half a pixel
// rounds away from zero, so lengths of the same parity keep their spacing).
int ScaledLength(int designLength);

// The pixel of a picture designLength pixels long that screen pixel `at`
// shows when the picture is enlarged to ScaledLength(designLength): nearest
// neighbour, counted from the nearer end. At a whole factor every pixel
// becomes a block of the same size; at 1.5 every other pixel is doubled, the
// first and the last alike, so a one-pixel frame comes out two pixels wide
// all round.
int DesignPixelAt(int at, int designLength);

// The system DPI (the DPI of logical pixels), and the DPI Windows gives a
// window; the system DPI where Windows cannot tell a window's own.
UINT SystemDpi();
UINT WindowDpi(HWND window);

// Logical to screen pixels and back, rounded to the nearest; a value too
// large for an int stops at the end of the range.
int ScreenFromLogical(int logical);
int LogicalFromScreen(int screen);
