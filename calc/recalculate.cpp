#include "recalculate.h"

#include "graintable.h"
#include "numberreading.h"
#include "numbertext.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <string>

// Every product, sum and quotient must be rounded to double before the next
// step, or the same amounts would show different percentages on different
// machines. x87 arithmetic keeps excess precision: build with SSE2.
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not keep excess precision");

namespace {

enum class Failure { none, conversion, invalidOperation, divisionByZero, overflow };

Failure failureOf(const Reading& r) {
    switch (r.status) {
    case ReadStatus::ok:
        return Failure::none;
    case ReadStatus::conversionFailure:
        return Failure::conversion;
    case ReadStatus::overflow:
        return Failure::overflow;
    }
    return Failure::conversion;
}

// Zero by zero is an invalid operation and counts with overflow: it is how an
// all-zero mix shows itself. Anything else by zero is a plain division by zero.
Failure divide(double total, double amount, double& quotient) {
    if (amount == 0)
        return total == 0 ? Failure::invalidOperation : Failure::divisionByZero;
    quotient = total / amount;
    return std::isfinite(quotient) ? Failure::none : Failure::overflow;
}

// Stage 1: the amount and the weighted totals. A failure here ends the run
// where it stands, without a message: the fields not yet written keep their
// texts and the user's amounts are untouched.
bool writeAmountAndTotals(FieldStore& store) {
    std::array<std::string, grainCount> inputs;
    for (std::size_t i = 0; i < grainCount; ++i)
        inputs[i] = store.readField(grainTable[i].field);

    // Every nutrient weights the same strict readings, so each text is read
    // once. Wherever the strict reading takes a text, the lenient one reads
    // the same number from it, so the amount needs a second reading only of
    // the texts the strict one rejects: long texts stay cheap.
    std::array<Reading, grainCount> weights;
    for (std::size_t i = 0; i < grainCount; ++i)
        weights[i] = readStrict(inputs[i]);

    double amount = 0.0;
    for (std::size_t i = 0; i < grainCount; ++i) {
        const Reading r = weights[i].ok() ? weights[i] : readLenient(inputs[i]);
        if (!r.ok())
            return false;
        amount += r.value;
        if (!std::isfinite(amount))
            return false;
    }
    store.writeField(FieldId::amount, signedNumberText(amount).view());

    // A text the strict reading rejects fails the first nutrient's sum,
    // before any total is written.
    for (const Reading& w : weights)
        if (!w.ok())
            return false;

    for (Nutrient n : allNutrients) {
        double total = 0.0;
        for (std::size_t i = 0; i < grainCount; ++i) {
            const double product = weights[i].value * grainTable[i].percentOf(n);
            if (!std::isfinite(product))
                return false;
            total += product;
            if (!std::isfinite(total))
                return false;
        }
        store.writeField(totalField(n), plainNumberText(total).view());
    }
    return true;
}

// Stage 2: each total over the amount, both read back from their texts, so
// the operands are the 15-digit values the user could see.
Failure writePercentages(FieldStore& store) {
    for (Nutrient n : allNutrients) {
        const Reading total = readStrict(store.readField(totalField(n)));
        if (!total.ok())
            return failureOf(total);
        const Reading amount = readStrict(store.readField(FieldId::amount));
        if (!amount.ok())
            return failureOf(amount);
        double quotient = 0.0;
        if (const Failure f = divide(total.value, amount.value, quotient); f != Failure::none)
            return f;
        store.writeField(resultField(n), plainNumberText(quotient).view());
    }
    return Failure::none;
}

} // namespace

void recalculate(FieldStore& store) {
    if (!writeAmountAndTotals(store))
        return;
    const Failure failure = writePercentages(store);
    if (failure == Failure::overflow || failure == Failure::invalidOperation)
        store.showMessage(noAmountsMessage);
}
