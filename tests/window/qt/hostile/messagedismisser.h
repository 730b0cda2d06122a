#pragma once

#include <QTimer>

#include <string>
#include <vector>

// Plays the user who clicks OK on every message box as soon as it is up, so
// that a recalculation which finds no amounts cannot block a test. Keeps the
// texts in the order they were shown.
class MessageDismisser {
  public:
    MessageDismisser();

    const std::vector<std::string>& texts() const { return m_texts; }

  private:
    void dismissShownBox();

    QTimer m_timer;
    std::vector<std::string> m_texts;
};
