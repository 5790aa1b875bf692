#pragma once
// Writes that fail partway, as on a full disk, without privileges: while an
// object of this class lives, no file of the process may grow beyond `byte`
// (RLIMIT_FSIZE, which binds root too); a write past the limit fails with
// EFBIG instead of raising SIGXFSZ. Files already larger are left alone.
#include <csignal>
#include <sys/resource.h>

class ScritturaLimitata {
public:
    explicit ScritturaLimitata(rlim_t byte)
    {
        getrlimit(RLIMIT_FSIZE, &prima_);
        segnale_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = prima_;
        r.rlim_cur = byte;
        attivo_ = setrlimit(RLIMIT_FSIZE, &r) == 0;
    }
    ~ScritturaLimitata()
    {
        setrlimit(RLIMIT_FSIZE, &prima_);
        std::signal(SIGXFSZ, segnale_);
    }
    ScritturaLimitata(const ScritturaLimitata&) = delete;
    ScritturaLimitata& operator=(const ScritturaLimitata&) = delete;
    bool Attivo() const { return attivo_; }

private:
    rlimit prima_{};
    void (*segnale_)(int) = nullptr;
    bool attivo_ = false;
};
