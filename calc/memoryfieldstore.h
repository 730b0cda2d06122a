#pragma once

#include "fieldstore.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The fields without a window, every one starting as "0", as the window's do.
// Remembers each message shown, for tests and benchmarks.
class MemoryFieldStore : public FieldStore {
  public:
    MemoryFieldStore();

    std::string readField(FieldId id) const override;
    void writeField(FieldId id, std::string_view text) override;
    void showMessage(std::string_view text) override;

    const std::vector<std::string>& messages() const { return m_messages; }
    // Every write in the order it happened, for tests of the order of events.
    const std::vector<FieldId>& writes() const { return m_writes; }
    void setRecordWrites(bool record) { m_recordWrites = record; }

  private:
    std::array<std::string, fieldCount> m_texts;
    std::vector<std::string> m_messages;
    std::vector<FieldId> m_writes;
    bool m_recordWrites = false;
};
