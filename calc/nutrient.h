#pragma once

#include <array>
#include <cstddef>

// Every table, loop and group of fields follows this order.
enum class Nutrient { protein, carbohydrate, water, fibre, fat };

inline constexpr std::size_t nutrientCount = 5;

inline constexpr std::array<Nutrient, nutrientCount> allNutrients = {
    Nutrient::protein, Nutrient::carbohydrate, Nutrient::water, Nutrient::fibre, Nutrient::fat};

constexpr std::size_t index(Nutrient n) {
    return static_cast<std::size_t>(n);
}
