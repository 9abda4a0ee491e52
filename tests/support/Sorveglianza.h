// SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Turns a hang into a failure within seconds. While the object lives, a watcher waits; if it is still
// alive after the limit, the test program ends with a message naming what never returned. It guards
// calls that a regression would block for ever (a named pipe opened for reading, a query without end),
// which ctest would otherwise only end at its own limit of minutes.
class Sorveglianza
{
public:
    explicit Sorveglianza(const char *cosa, std::chrono::seconds limite = std::chrono::seconds(10))
        : m_guardiano([this, cosa, limite] {
              std::unique_lock blocco(m_mutex);
              if (!m_finito.wait_for(blocco, limite, [this] { return m_fine; }))
                  qFatal("%s: still running after %lld s", cosa, static_cast<long long>(limite.count()));
          })
    {
    }
    ~Sorveglianza()
    {
        {
            const std::lock_guard blocco(m_mutex);
            m_fine = true;
        }
        m_finito.notify_one();
        m_guardiano.join();
    }
    Sorveglianza(const Sorveglianza &) = delete;
    Sorveglianza &operator=(const Sorveglianza &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_finito;
    bool m_fine = false;
    std::thread m_guardiano;
};
