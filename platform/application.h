// Start-up of either program's QApplication: Japanese standard buttons,
// the Japanese UI font, and the locale.
#pragma once

class QApplication;

void setUpJapaneseApplication(QApplication& app);
