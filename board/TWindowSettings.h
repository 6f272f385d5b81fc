#pragma once

#include <QString>

// The settings that live in the window's controls rather than in the state
// record: its position, the ISP programmer's port box, the production
// firmware choice and the verbose-messages box.
struct TWindowSettings {
    int top = 100;
    int left = 50;
    QString diamexComPort = QStringLiteral("0");
    int firmwareType = 1;
    bool debugMessages = false;
};
