#include "memoryfieldstore.h"

MemoryFieldStore::MemoryFieldStore() {
    m_texts.fill("0");
}

std::string MemoryFieldStore::readField(FieldId id) const {
    return m_texts[index(id)];
}

void MemoryFieldStore::writeField(FieldId id, std::string_view text) {
    m_texts[index(id)].assign(text);
    if (m_recordWrites)
        m_writes.push_back(id);
}

void MemoryFieldStore::showMessage(std::string_view text) {
    m_messages.emplace_back(text);
}
