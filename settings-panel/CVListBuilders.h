#pragma once
// The value lists that several list rows share. Titles are English; the rows localise
// them ("Default"). Percentages are kept as whole numbers while the list is built, so
// that every title names its value exactly (0.35 is "35%", never "34%" as a truncated
// 0.35 × 100 in binary floating point would give).

#include "settings-panel/CVRowTable.h"

// Factors from firstPercent/100 to lastPercent/100 in steps of stepPercent/100, as float
// numbers, titled "25%" … "200%".
CVChoices CVPercentChoices(int firstPercent, int lastPercent, int stepPercent);

// Counts 0 … 10 as int numbers, titled "Default" for 0 (the system's own count), then
// "1" … "10".
CVChoices CVCountChoices();

// Point sizes: 0 titled "Default" (the system's size), then first … last in steps of
// step, as float numbers titled with the number.
CVChoices CVPointSizeChoices(int first, int last, int step);

// The values and titles of a fixed table, the values as int numbers.
CVChoices CVChoicesOf(std::span<const CVChoice> choices);
