#pragma once

#include <QByteArray>

#include <string_view>

// Text forms of numbers in the data file, independent of the user's locale.
//
// Each reader gives exactly what the named C library conversion gives in the "C" locale,
// on any input: leading white space, "+" signs, hexadecimal, inf and nan, overflow, a
// field that is not a number. A view ends its text as a terminating NUL would. Common
// well-formed decimal text takes a fast path (std::from_chars, exactly rounded like the
// C library); everything else is handed to the C library itself under the "C" locale.
//
// Each writer appends exactly what the named printf conversion writes in the "C" locale.

// atof: 0.0 when the text holds no number.
double rxAtof(std::string_view text);
// atoi as the C library computes it: strtol in base 10 (saturating), narrowed to int.
int rxAtoi(std::string_view text);
// sscanf(text, "%g", out). Returns false and leaves *out alone when nothing converts.
bool rxScanFloat(std::string_view text, float *out);
// sscanf(text, "%i", out): decimal, octal after "0", hexadecimal after "0x".
bool rxScanInt(std::string_view text, int *out);
// The strict forms for data rows: true only when the conversion reads all of text but the
// C white space around it. False, with *out left alone, for an empty text, a text that
// holds no number, and a number followed by anything else ("1.5abc", "2 3", "1,5").
// strtod, as atof converts.
bool rxWholeDouble(std::string_view text, double *out);
// sscanf(text, "%g", out).
bool rxWholeFloat(std::string_view text, float *out);
// strtol in base 10 (atoi) or base 0 (sscanf "%i"), narrowed to int as those do.
bool rxWholeInt(std::string_view text, int base, int *out);
// A row count: blanks, a sign and decimal digits (a leading 0 is not octal), saturated to
// the int range. 0 when there are no digits.
int rxCountValue(std::string_view text);

// vsscanf under the "C" locale; text must end with a NUL. Returns what sscanf returns.
int rxScanC(const char *text, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(scanf, 2, 3)))
#endif
    ;

// The writers come in two forms: appending to a QByteArray, and writing at p and returning
// the end, for loops that write millions of numbers. A char writer needs rxNumberRoom bytes
// at p (widths up to 99).
constexpr int rxNumberRoom = 128;
char *rxWriteInt(char *p, int value, int width = 0);
char *rxWriteG(char *p, double value);
char *rxWriteFixed(char *p, double value, int width);

// "%i", right-aligned in width characters when width > 0 ("%3i").
void rxAppendInt(QByteArray &out, int value, int width = 0);
// "%g": six significant digits, the shorter of fixed and exponent form; "%.<precision>g"
// with another precision.
void rxAppendG(QByteArray &out, double value, int precision = 6);
// "%f": fixed notation with six decimals.
void rxAppendF(QByteArray &out, double value);
// The fixed-width number format: "%+W.(W-7)E" for W = width, 8 <= width <= 99, with a
// three-digit exponent repaired by winFixExpFmt, so that every field of a float is width
// characters. A double beyond the float range may need one more.
void rxAppendFixed(QByteArray &out, double value, int width);

// Shortens a three-digit exponent in place: from the first "E", exactly five characters
// (E, sign, three digits) lose the first digit when it is 0 ("E+012" becomes "E+12").
// Otherwise s is left as it is ("E+100" keeps its three digits).
void winFixExpFmt(char *s);

// Removes every trailing carriage return and line feed.
void stripLineEnd(char *s);
void stripLineEnd(QByteArray &s);
std::string_view stripLineEnd(std::string_view s);

// Narrows to single precision the way the hardware does: beyond the float range the value
// becomes an infinity of its sign, nan stays nan. Written out so that no conversion has an
// undefined result.
float rxNarrow(double value);
