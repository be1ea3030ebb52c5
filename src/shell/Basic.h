// The arithmetic of the game's rules: whole numbers, rounding, integer
// division, number printing and the random generator. Every module uses these
// so the rules stay exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using Integer = int16_t;  // 16-bit whole number; flags are -1 true, 0 false
using Long = int32_t;     // 32-bit whole number
using Single = float;
using Double = double;

constexpr Integer True = -1;
constexpr Integer False = 0;

// Int(v): rounds down (toward minus infinity).
double Int(double v);

// Whole(v): rounds to nearest with halves to even; the rounding of every
// implicit conversion of a fraction to a whole number.
Long Whole(double v);

// a \ b: both operands rounded to whole numbers first, then divided
// truncating toward zero. Division by zero gives 0 (the statement would fail).
Long IDiv(double a, double b);

// Converts decimal text to a number, blanks around it ignored. Text that is
// not a number gives no value, so only the statement that used it does nothing.
std::optional<double> ToNumber(std::string_view text);

// Line-print of a number: a blank before a non-negative value and one after
// every value (" 8 ", "-1 ").
std::string PrintNum(double v);

// Concatenation of a number into text: no blanks. A Single prints with at most
// 7 significant digits, a Double with at most 15.
std::string StrSingle(float v);
std::string StrDouble(double v);
std::string StrInt(long long v);
// The value a number keeps once written as decimal text and read back (15
// significant digits): what the rules' text-held fields store.
double TextValue(double v);

// Uniform in [0, 1) from the one seedable generator.
Single Rnd();
// Re-seed from the clock (platform tick count); tests seed with a value.
void Randomize();
void Randomize(uint32_t seed);
// Re-seed from a given tick count, as Randomize() does from the clock.
void RandomizeFrom(uint64_t tick);
// The generator's state, which Randomize(state) restores (a recording keeps it).
uint32_t RndState();
// Uniform in [0, 1) from a second generator for what only shows or sounds
// (menu shimmer, menu blood, a sound's start): the battle's course must not
// depend on whether pictures are drawn or sounds are on.
Single EffectRnd();
void RandomizeEffects(uint32_t seed);

// Text helpers of the old dialect.
std::string Trim(std::string_view s);
std::string Mid(std::string_view s, int start1, int length = -1);  // 1-based
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
