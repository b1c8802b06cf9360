#include "astronomy.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace observatory {
namespace {

constexpr double kVisibleWavelength = 550e-9;  // metres
// Photons per second and square metre from a source of unit brightness.
constexpr double kPhotonRate = 1000.0;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }
double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

}  // namespace

double separation(double ra1, double dec1, double ra2, double dec2) {
    // The haversine form: stable for small separations, where the cosine rule is not.
    const double dDec = radians(dec2 - dec1);
    const double dRa = radians(ra2 - ra1);
    const double h = std::pow(std::sin(dDec / 2), 2) +
                     std::cos(radians(dec1)) * std::cos(radians(dec2)) * std::pow(std::sin(dRa / 2), 2);
    return degrees(2 * std::asin(std::sqrt(std::min(1.0, h))));
}

double airmass(double altitude) {
    if (!(altitude > 0 && altitude <= 90))
        throw std::domain_error("an altitude of " + std::to_string(altitude) + " degrees has no airmass");
    return 1 / std::sin(radians(altitude));
}

double resolution(double aperture) { return degrees(1.22 * kVisibleWavelength / aperture) * 3600; }

double signalToNoise(double aperture, double exposure) {
    const double area = std::numbers::pi * aperture * aperture / 4;
    return std::sqrt(kPhotonRate * area * exposure);
}

}  // namespace observatory
