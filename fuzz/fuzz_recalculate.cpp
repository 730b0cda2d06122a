// One recalculation over any field texts, checked against a model of it
// written out step by step here: every field's final text, the messages
// shown and the order of the writes must be the model's. The number rules
// themselves are fuzzed on their own, so the model may use them.
//
// The input holds up to 38 texts separated by '|': the 27 amounts in table
// order, then the starting texts of amount, the five hidden totals and the
// five results. Missing texts stay "0", as in a freshly opened window.

#include "fuzzcheck.h"
#include "graintable.h"
#include "memoryfieldstore.h"
#include "numberreading.h"
#include "numbertext.h"
#include "recalculate.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char separator = '|';

// The fields in the order the input gives their texts, which is also the
// table order of the amounts.
constexpr std::array<FieldId, 27> amountFields = {
    FieldId::Text1,  FieldId::Text2,  FieldId::Text3,  FieldId::Text4,  FieldId::Text5,
    FieldId::Text6,  FieldId::Text7,  FieldId::Text8,  FieldId::Text9,  FieldId::Text10,
    FieldId::Text11, FieldId::Text12, FieldId::Text13, FieldId::Text14, FieldId::Text15,
    FieldId::Text16, FieldId::Text17, FieldId::Text18, FieldId::Text19, FieldId::Text20,
    FieldId::Text21, FieldId::Text22, FieldId::Text23, FieldId::Text24, FieldId::Text25,
    FieldId::Text26, FieldId::Text28,
};
constexpr std::array<FieldId, 5> totalFields = {FieldId::prototal, FieldId::carbtotal,
                                                FieldId::watertotal, FieldId::fibretotal,
                                                FieldId::fattotal};
constexpr std::array<FieldId, 5> resultFields = {FieldId::protein, FieldId::carbo, FieldId::water,
                                                 FieldId::Fibre, FieldId::Fat};

constexpr std::array<FieldId, 38> allFields = [] {
    std::array<FieldId, 38> all{};
    std::size_t k = 0;
    for (const FieldId id : amountFields)
        all[k++] = id;
    all[k++] = FieldId::amount;
    for (const FieldId id : totalFields)
        all[k++] = id;
    for (const FieldId id : resultFields)
        all[k++] = id;
    return all;
}();

constexpr std::string_view noAmounts = "You need to enter some amounts";

using Texts = std::array<std::string, fieldCount>;

struct Outcome {
    Texts texts;
    std::vector<std::string> messages;
    std::vector<FieldId> writes;

    std::string& text(FieldId id) { return texts[static_cast<std::size_t>(id)]; }
    void write(FieldId id, std::string_view newText) {
        text(id) = newText;
        writes.push_back(id);
    }
};

// The percentage of nutrient n (0 protein ... 4 fat) for the row whose
// amount field is amountFields[row]; LLVMFuzzerInitialize checks the binding.
double percent(std::size_t row, std::size_t n) {
    return grainTable[row].percent[n];
}

std::string nameOf(FieldId id) {
    return std::string(fieldName(id));
}

// Stage 1: amount and weighted totals. Any failure ends the run at once and
// silently; what is not yet written keeps its text.
bool predictStage1(Outcome& model) {
    std::array<std::string, 27> amounts;
    for (std::size_t row = 0; row < amounts.size(); ++row)
        amounts[row] = model.text(amountFields[row]);

    double amount = 0.0;
    for (const std::string& text : amounts) {
        const Reading r = readLenient(text);
        if (!r.ok())
            return false;
        amount = amount + r.value;
        if (!std::isfinite(amount))
            return false;
    }
    model.write(FieldId::amount, signedNumberText(amount).view());

    for (std::size_t n = 0; n < totalFields.size(); ++n) {
        double total = 0.0;
        for (std::size_t row = 0; row < amounts.size(); ++row) {
            const Reading r = readStrict(amounts[row]);
            if (!r.ok())
                return false;
            const double product = r.value * percent(row, n);
            if (!std::isfinite(product))
                return false;
            total = total + product;
            if (!std::isfinite(total))
                return false;
        }
        model.write(totalFields[n], plainNumberText(total).view());
    }
    return true;
}

// Stage 2: each total over the amount, both read back from their texts. Zero
// by zero and overflow show the message; a non-zero total over a zero amount
// ends the run silently.
void predictStage2(Outcome& model) {
    for (std::size_t n = 0; n < totalFields.size(); ++n) {
        // The total is read first, so its failure is the one that counts.
        for (const FieldId id : {totalFields[n], FieldId::amount}) {
            const ReadStatus status = readStrict(model.text(id)).status;
            if (status == ReadStatus::overflow)
                model.messages.emplace_back(noAmounts);
            if (status != ReadStatus::ok)
                return;
        }
        const Reading total = readStrict(model.text(totalFields[n]));
        const Reading amount = readStrict(model.text(FieldId::amount));
        if (amount.value == 0) {
            if (total.value == 0)
                model.messages.emplace_back(noAmounts);
            return;
        }
        const double quotient = total.value / amount.value;
        if (!std::isfinite(quotient)) {
            model.messages.emplace_back(noAmounts);
            return;
        }
        model.write(resultFields[n], plainNumberText(quotient).view());
    }
}

Outcome predict(const Texts& start) {
    Outcome model{start, {}, {}};
    if (predictStage1(model))
        predictStage2(model);
    return model;
}

std::string describe(const std::vector<FieldId>& writes) {
    std::string out;
    for (const FieldId id : writes) {
        out += fieldName(id);
        out += ' ';
    }
    return out;
}

// Stage 2 reads only texts that stage 1 wrote, and the strict reading must
// accept every text the writers produce; a failure there would turn a
// stage-1 result into a message the user cannot explain.
void checkWrittenTextsReadBack(const Outcome& model) {
    for (const FieldId id : model.writes) {
        const std::string& text = model.texts[static_cast<std::size_t>(id)];
        if (!readStrict(text).ok())
            fail("%s was written as %s, which does not read back", nameOf(id).c_str(),
                 quoted(text).c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (std::size_t row = 0; row < amountFields.size(); ++row)
        if (grainTable[row].field != amountFields[row])
            fail("grain table row %zu is not bound to %s", row, nameOf(amountFields[row]).c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Texts start;
    start.fill("0");
    for (std::size_t k = 0; k < allFields.size() && !input.empty(); ++k) {
        const std::size_t end = input.find(separator);
        start[static_cast<std::size_t>(allFields[k])] = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }

    MemoryFieldStore store;
    for (const FieldId id : allFields)
        store.writeField(id, start[static_cast<std::size_t>(id)]);
    store.setRecordWrites(true);
    try {
        recalculate(store);
    } catch (const std::exception& e) {
        fail("recalculate threw: %s", e.what());
    } catch (...) {
        fail("recalculate threw something that is not a std::exception");
    }

    const Outcome model = predict(start);
    for (const FieldId id : amountFields)
        if (store.readField(id) != start[static_cast<std::size_t>(id)])
            fail("recalculate changed the amount %s from %s to %s", nameOf(id).c_str(),
                 quoted(start[static_cast<std::size_t>(id)]).c_str(),
                 quoted(store.readField(id)).c_str());
    for (const FieldId id : allFields)
        if (store.readField(id) != model.texts[static_cast<std::size_t>(id)])
            fail("%s holds %s, expected %s", nameOf(id).c_str(),
                 quoted(store.readField(id)).c_str(),
                 quoted(model.texts[static_cast<std::size_t>(id)]).c_str());
    if (store.messages() != model.messages)
        fail("%zu messages shown, expected %zu", store.messages().size(), model.messages.size());
    if (store.writes() != model.writes)
        fail("fields written: %s; expected: %s", describe(store.writes()).c_str(),
             describe(model.writes).c_str());
    checkWrittenTextsReadBack(model);
    return 0;
}
