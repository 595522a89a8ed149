#pragma once
// The exact chance that one placement attempt of a piece crosses the transect: start point
// uniform on the plot, orientation uniform on the circle or, with probability force / 5 when
// a wind button is selected, uniform on that button's sector; the far end cut back at the
// plot border; a strict crossing of x = L/2. Computed by integrating, over the angle, the
// exact area of the start points that cross; no random numbers.
//
// The start point, the angle and the force share are taken as continuous. The placement
// draws them on a lattice of 2^24 steps, and the start lattice holds the transect itself,
// from which nothing crosses: the engine's chance is lower by roughly 2^-24 in absolute terms
// (some 5e-6 relative for a 1 m piece on a 100 m plot), and its single-precision force share
// exceeds force / 5 by up to 5e-8. Both lie far below what any feasible number of runs can
// resolve.

#include "engine/wind.h"

namespace quorvel {

// Throws Refused for a transect length below 1 m or a length that is not a finite number.
// A piece of length 0 never crosses (0); a negative length lays the piece backwards from its
// start, which crosses exactly as often as the forward piece.
double crossing_probability(double piece_length, double transect_length, WindButton wind,
                            int wind_force);

// The area (m2) of the start points on the plot from which a piece laid at this angle
// (radians) crosses the transect: the integrand of the probability above.
double crossing_area(double piece_length, double transect_length, double angle);

}  // namespace quorvel
