#pragma once

// The observatory's arithmetic: plain C++ that knows nothing of the host. Angles are in
// degrees unless a name says otherwise; apertures in metres, exposures in seconds.

namespace observatory {

// The great-circle separation of two sky positions (right ascension, declination).
double separation(double ra1, double dec1, double ra2, double dec2);

// The plane-parallel airmass at an altitude above the horizon; std::domain_error for
// altitudes outside (0, 90], where the approximation has no meaning.
double airmass(double altitude);

// The diffraction limit (Rayleigh criterion) of an aperture in visible light, in arcseconds.
double resolution(double aperture);

// The photon-noise-limited signal-to-noise ratio of a source of unit brightness observed
// for the exposure through the aperture.
double signalToNoise(double aperture, double exposure);

}  // namespace observatory
