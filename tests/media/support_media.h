#pragma once
// What every media test sets up first: a private home, a course folder made
// current for the test's files, and the back end new devices use.
#include "common/testenv.h"
#include "media/audiodevice.h"

class MediaTestDir {
public:
    explicit MediaTestDir(AudioDevice::Backend backend) {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(backend);
    }

private:
    testenv::CourseDir m_dir;
};
