#pragma once
// scipy's CubicSpline(t, X / Y, bc_type='not-a-knot') on the chord-length parameter t of the
// points (0, 0), (1, 2), (3, 3), (4.5, 1), (6, 0.5), (9, 2), sampled at k * t[-1] / 8, k = 0..8.

namespace plotane::test {

inline constexpr double kSplineXRef[] = {0.0,
                                         0.4247788617539362,
                                         1.6804901492559394,
                                         2.9949928874744947,
                                         3.867057782695223,
                                         4.886726956744258,
                                         6.4109610210484576,
                                         7.9655197001394376,
                                         9.0};
inline constexpr double kSplineYRef[] = {0.0,
                                         1.2719693830739853,
                                         2.611471580866002,
                                         3.0019725500728294,
                                         1.9071838777273489,
                                         0.7266298094471777,
                                         0.5364600520542145,
                                         1.08526716616975,
                                         2.0000000000000004};

}  // namespace plotane::test
