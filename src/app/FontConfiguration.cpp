#include "app/FontConfiguration.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>

namespace velmor {

FontConfigurationReader::FontConfigurationReader()
    : reader_([] {
          pthread_setname_np(pthread_self(), "velmor fonts");
          FcInit();
      }) {}

FontConfigurationReader::~FontConfigurationReader() {
    wait();
}

void FontConfigurationReader::wait() {
    if (reader_.joinable())
        reader_.join();
}

} // namespace velmor
