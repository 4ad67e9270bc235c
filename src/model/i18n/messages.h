#pragma once

#include "i18n/texts.h"

#include <QString>

namespace quillon {

// Message box styles in the platform's bit layout.
inline constexpr int kStyleOk = 0;            // OK, no icon
inline constexpr int kStyleStop = 16;         // OK, stop icon
inline constexpr int kStyleExclamation = 48;  // OK, exclamation icon
inline constexpr int kStyleInformation = 64;  // OK, information icon
inline constexpr int kStyleQuestion = 4385;   // OK + Cancel, question icon, Cancel default, system-modal

// Button numbers a message box returns.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerAbort = 3;
inline constexpr int kAnswerRetry = 4;
inline constexpr int kAnswerIgnore = 5;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

inline constexpr const char *kApplicationTitle = "Quillon";

enum class Message {
    SerialPortInvalid,     // "The serial port is invalid"
    SerialPortUnusable,    // "Serial port" + number + "Invalid or has ..."
    BandChange,            // the band change question
    NewImage,              // "Unsaved data will be lost, sure?"
    Exit,                  // the exit question
    FileTypeIncorrect,     // "File type is incorrect!"
    ForcedWrite,           // the forced write question
    BandMismatch,          // "The frequency band is not accorded with, can't write into!"
    WriteSucceeded,        // "Writing succeeds frequently!"
    ReadSucceeded,         // "Reading succeeds frequently!"
    CommunicationError,    // "Communication error, ..."
    OutOfBand,             // "Beyond the scope of frequency band"
    FmChannelRange,        // the FM cell range message
    FmFrequencyRange,      // the FM frequency-mode range message
};

struct MessageText {
    QString text;
    QString caption;   // empty: the message box shows the application title
    int style = kStyleOk;
};

// The message's text, caption and style in the language. For
// SerialPortUnusable, argument is the port number placed between the two halves.
MessageText messageText(Message message, Language language, const QString &argument = {});

// Label of message box button number 1..7 in the language.
QString buttonText(int button, Language language);

} // namespace quillon
