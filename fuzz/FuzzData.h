#pragma once
// A small text table the script target puts into its working folder before each run, so that
// scripts have data to read, calculate on, store and draw. The seed maker writes the same table.

namespace plotane::fuzz {

inline constexpr const char* kTableName = "D.TXT";
inline constexpr const char* kTable =
    "* TIME\r\n* UP\r\n* DOWN\r\n"
    "  0.00  1.00000E+00  1.00000E+02\r\n"
    "  1.00  2.00000E+00  5.00000E+01\r\n"
    "  2.00  4.00000E+00  2.50000E+01\r\n"
    "  3.00  8.00000E+00  1.25000E+01\r\n"
    "  4.00  1.60000E+01  6.25000E+00\r\n"
    "  5.00  3.20000E+01  3.12500E+00\r\n"
    "  6.00  6.40000E+01  1.56250E+00\r\n";

}  // namespace plotane::fuzz
