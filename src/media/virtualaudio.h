#pragma once
// Test controls of the virtual audio back end. Devices made after
// AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual) produce no
// sound; their time moves only when a test calls Advance().
//
// End notifications of plays and recordings that Advance() completes are
// queued on the UI thread (like the real device's): after Advance() call
// QCoreApplication::processEvents() or QTest::qWait(0) before checking what
// notify() delivered. mode() and position() change at once.
//
// The virtual device reads the wave header of the file it opens (length,
// rate, channels), so tests need real wave files; recording produces silence
// of the recorded length and save() writes it as a real wave file.
#include <QtGlobal>

namespace VirtualAudio {

// Moves the shared virtual clock forward by ms (>= 0) for every virtual
// device: playing and recording devices advance their positions, and those
// that reach their end (length or end position) stop and notify Successful.
void Advance(qint64 ms);

// Milliseconds advanced since the last Reset().
qint64 Now();

// Clock to 0, input available again. Open devices keep their state.
void Reset();

// false: startRecording() on a virtual device fails as on a machine with no
// microphone (lastError() set, mode stays, DeviceError thrown).
void SetInputAvailable(bool available);
bool InputAvailable();

} // namespace VirtualAudio
