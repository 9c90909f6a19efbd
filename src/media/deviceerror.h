#pragma once
// Errors of the audio device. The code is what lastError() reports; the text
// is what the guard shows the user.
#include "base/errors.h"

enum DeviceErrorCode {
    DevErrNone = 0,
    DevErrNotOpen = 257,      // a command that needs an open file
    DevErrFileNotFound = 275, // the wave file does not exist
    DevErrAccessDenied = 276, // it exists but cannot be read
    DevErrNotWave = 296,      // not a RIFF/WAVE file
    DevErrBadHeader = 297,    // RIFF/WAVE, but the header is cut short or damaged
    DevErrUnsupported = 298,  // a wave file whose encoding we cannot decode
    DevErrNoOutput = 320,     // no playback device
    DevErrNoInput = 321,      // no recording device (microphone)
    DevErrDeviceFailed = 322, // the sound system refused or lost the stream
    DevErrCannotWrite = 330,  // temporary recording or saved file could not be written
    DevErrDiskFull = ErrDiskFull,
};

class DeviceError : public VError {
public:
    DeviceError(int code, const QString& text) : VError(text), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};
