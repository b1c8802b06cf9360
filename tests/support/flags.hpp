#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>

namespace orrery::testing {

// One boolean field of a record and the index of the one host answer that reads it;
// none for a field that no answer may read.
template <class Record>
struct FlagField {
    const char* name;
    void (*flip)(Record&);
    std::optional<std::size_t> answer;
};

// Flips each field in turn and expects exactly its own answer to change. `answers`
// reads every query of an adaptor over `record`, in a fixed order, as an indexable
// container. The record's field order and the host's query order differ, so a field
// read by the wrong query shows up here.
template <class Record, class Answers, class Fields>
void expectEachFlagChangesOnlyItsOwnAnswer(Record& record, Answers answers, const Fields& fields) {
    const auto defaults = answers();
    for (const FlagField<Record>& field : fields) {
        field.flip(record);
        auto expected = defaults;
        if (field.answer) expected[*field.answer] = !expected[*field.answer];
        EXPECT_EQ(answers(), expected) << "after flipping " << field.name;
        field.flip(record);
    }
}

}  // namespace orrery::testing

// A FlagField for `Record::field` (bit-fields have no member pointers, hence a lambda).
#define ORRERY_FLAG_FIELD(Record, field, answer)           \
  ::orrery::testing::FlagField<Record> {                   \
#    field, [](Record & r) { r.field = !r.field; }, answer \
  }
