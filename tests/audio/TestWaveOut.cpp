#include "TestWaveOut.h"

namespace vindrel::testing {

class TestWaveOut : public WaveOut {
public:
    explicit TestWaveOut(TestWaveOutDriver& driver) : driver(driver) {}
    ~TestWaveOut() override {
        std::lock_guard<std::mutex> lock(driver.mutex);
        driver.queue.clear();
        driver.closes++;
    }
    WaveOutResult Pause() override {
        std::lock_guard<std::mutex> lock(driver.mutex);
        driver.paused = true;
        return WaveOutOk;
    }
    WaveOutResult Restart() override {
        std::lock_guard<std::mutex> lock(driver.mutex);
        driver.paused = false;
        return WaveOutOk;
    }
    WaveOutResult PrepareHeader(WaveHeader& header) override {
        header.flags.fetch_or(HeaderPrepared, std::memory_order_release);
        driver.preparedNow++;
        return WaveOutOk;
    }
    WaveOutResult UnprepareHeader(WaveHeader& header) override {
        if (header.flags.fetch_and(~HeaderPrepared, std::memory_order_acq_rel) & HeaderPrepared)
            driver.preparedNow--;
        return WaveOutOk;
    }
    WaveOutResult Write(WaveHeader& header) override {
        std::lock_guard<std::mutex> lock(driver.mutex);
        header.flags.fetch_and(~HeaderDone, std::memory_order_release);
        driver.written.emplace_back(header.data, header.data + header.bufferLength);
        driver.queue.push_back(&header);
        return WaveOutOk;
    }
    WaveOutResult Reset() override {
        std::lock_guard<std::mutex> lock(driver.mutex);
        for (WaveHeader* header : driver.queue)
            header->flags.fetch_or(HeaderDone, std::memory_order_release);
        driver.queue.clear();
        return WaveOutOk;
    }

private:
    TestWaveOutDriver& driver;
};

WaveOutResult TestWaveOutDriver::Open(int, const WaveFormat& format,
                                      std::unique_ptr<WaveOut>& device) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        formats.push_back(format);
        paused = false;
    }
    if (refuseAll || (refusePlain && format.formatTag == FormatPcmTag))
        return WaveOutBadFormat;
    device = std::make_unique<TestWaveOut>(*this);
    opens++;
    return WaveOutOk;
}

int TestWaveOutDriver::Advance(int n) {
    std::lock_guard<std::mutex> lock(mutex);
    int played = 0;
    while (played < n && !paused && !queue.empty()) {
        queue.front()->flags.fetch_or(HeaderDone, std::memory_order_release);
        queue.pop_front();
        ++played;
    }
    return played;
}

std::vector<std::vector<std::uint8_t>> TestWaveOutDriver::Written() {
    std::lock_guard<std::mutex> lock(mutex);
    return written;
}

std::vector<WaveFormat> TestWaveOutDriver::Formats() {
    std::lock_guard<std::mutex> lock(mutex);
    return formats;
}

int TestWaveOutDriver::QueuedCount() {
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(queue.size());
}

bool TestWaveOutDriver::Paused() {
    std::lock_guard<std::mutex> lock(mutex);
    return paused;
}

} // namespace vindrel::testing
