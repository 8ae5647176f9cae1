#pragma once

#include <pthread.h>

#include <cstddef>
#include <cstdint>

// While it lives, no new thread of this process starts: each asks for a default stack too large
// to map, so std::thread throws std::system_error as when the system runs out of threads.
class RefusedThreadStarts {
  public:
    RefusedThreadStarts() {
        pthread_getattr_default_np(&saved_);
        pthread_attr_t huge;
        pthread_attr_init(&huge);
        pthread_attr_setstacksize(&huge, SIZE_MAX / 2 & ~std::size_t{0xffff});
        pthread_setattr_default_np(&huge);
        pthread_attr_destroy(&huge);
    }
    ~RefusedThreadStarts() {
        pthread_setattr_default_np(&saved_);
        pthread_attr_destroy(&saved_);
    }
    RefusedThreadStarts(const RefusedThreadStarts&) = delete;
    RefusedThreadStarts& operator=(const RefusedThreadStarts&) = delete;

  private:
    pthread_attr_t saved_;
};
