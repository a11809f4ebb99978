#pragma once

// A facility for the frame loop that writes down every call with its arguments, answers the
// held-key queries from a script, and passes everything else to the real facility opened on an
// in-memory screen, so the loop's pixels can be checked too.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gfx/facility.h"
#include "gfx/facility_testing.h"

namespace app_test {

class RecordingFacility {
  public:
    // Held scancodes, by frame number (the first frame is 1). Frames not named hold nothing.
    std::map<int, std::set<int>> held_on_frame;
    // Codes queued into the real key queue at the start of a frame, by frame number.
    std::map<int, std::vector<std::string>> typed_on_frame;
    // The loop is stopped by an Escape typed at the start of this frame, if no other code does
    // it first (a guard against a loop that never ends).
    int escape_on_frame = 1000;

    std::vector<std::string> calls;  // every call of the run, in order
    std::vector<int> frame_starts;   // index into `calls` where each frame's first call is
    int frames_run = 0;

    RecordingFacility() {
        gfx::testing::close_screen();
        gfx::testing::use_memory_screen(true);
    }
    ~RecordingFacility() {
        gfx::testing::close_screen();
        gfx::testing::use_memory_screen(false);
    }
    RecordingFacility(const RecordingFacility&) = delete;
    RecordingFacility& operator=(const RecordingFacility&) = delete;

    // The calls of one frame (the first frame is 1).
    std::vector<std::string> frame_calls(int frame) const {
        const auto first = calls.begin() + frame_starts.at(static_cast<std::size_t>(frame - 1));
        const auto last = static_cast<std::size_t>(frame) < frame_starts.size()
                              ? calls.begin() + frame_starts[static_cast<std::size_t>(frame)]
                              : calls.end();
        return {first, last};
    }

    bool set_screen_mode(int w, int h, int depth, int pages, int flags, int refresh) {
        record("set_screen_mode(" + list({w, h, depth, pages, flags, refresh}) + ")");
        return gfx::set_screen_mode(w, h, depth, pages, flags, refresh);
    }
    std::unique_ptr<gfx::Image> create_image(int w, int h) {
        record("create_image(" + list({w, h}) + ")");
        auto image = gfx::create_image(w, h);
        if (image) names_[image.get()] = "image" + std::to_string(names_.size() + 1);
        return image;
    }
    gfx::LoadResult load_bitmap(const char* name, gfx::Image* image) {
        record("load_bitmap(" + std::string(name) + ", " + name_of(image) + ")");
        return gfx::load_bitmap(name, image);
    }
    int is_key_down(int scancode) {
        if (!frame_open_) start_frame();
        record("is_key_down(" + std::to_string(scancode) + ")");
        const auto held = held_on_frame.find(frames_run);
        return held != held_on_frame.end() && held->second.count(scancode) ? -1 : 0;
    }
    void lock_screen() {
        record("lock_screen()");
        gfx::lock_screen();
    }
    void put_image(gfx::ScreenTarget target, int x, int y, const gfx::Image* image,
                   gfx::PutMode mode) {
        record("put_image(screen, " + list({x, y}) + ", " + name_of(image) + ", " +
               (mode == gfx::PutMode::opaque ? "opaque" : "transparent") + ")");
        gfx::put_image(target, x, y, image, mode);
    }
    void unlock_screen(int first_row, int last_row) {
        record("unlock_screen(" + list({first_row, last_row}) + ")");
        gfx::unlock_screen(first_row, last_row);
    }
    // Recorded, not slept: the tests run thousands of frames.
    void sleep_ms(int ms) { record("sleep_ms(" + std::to_string(ms) + ")"); }
    std::string read_key() {
        record("read_key()");
        frame_open_ = false;
        return gfx::read_key();
    }

  private:
    void start_frame() {
        frame_open_ = true;
        ++frames_run;
        frame_starts.push_back(static_cast<int>(calls.size()));
        if (const auto typed = typed_on_frame.find(frames_run); typed != typed_on_frame.end()) {
            for (const std::string& code : typed->second)
                gfx::testing::queue_key_code(code);
        }
        if (frames_run == escape_on_frame) gfx::testing::queue_key_code("\x1b");
    }
    void record(std::string call) { calls.push_back(std::move(call)); }
    std::string name_of(const gfx::Image* image) const {
        const auto found = names_.find(image);
        return found == names_.end() ? "null" : found->second;
    }
    static std::string list(std::initializer_list<int> values) {
        std::string out;
        for (const int v : values)
            out += (out.empty() ? "" : ", ") + std::to_string(v);
        return out;
    }

    std::map<const gfx::Image*, std::string> names_;
    bool frame_open_ = false;
};

}  // namespace app_test
