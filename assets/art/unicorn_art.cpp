#include "assets/art/unicorn_art.h"

#include <cstdint>

#include "assets/art/paint.h"
#include "assets/art/shapes.h"
#include "assets/art/unicorn_palette.h"

namespace art {

namespace {

namespace pal = unicorn_palette;

// A leg from where it leaves the body down to the fetlock, then the hoof.
struct Leg {
    Point joints[4];
    Point hoof;
};

// A lock of mane or tail: a tapering curve in one colour.
struct Lock {
    Point p0, p1, p2, p3;
    int r_from, r_to;
    int colour;  // index into the hair colours
};

// What changes between the two frames.
struct Pose {
    int bob;  // body lift in pixels (up is negative)
    Leg far_front, far_hind, near_front, near_hind;
    Lock mane[6];
    Lock tail[5];
};

// Frame 0: stretched out, front legs reaching forward and hind legs pushing back.
// Frame 1: gathered, every hoof under the body, body two pixels higher.
// Body, mane and tail points are given for a body lift of 0 and moved down by `bob`; the legs
// below their top joint are where the hooves go.
constexpr Pose poses[unicorn_frames] = {
    {3,
     {{{64, 48}, {69, 58}, {76, 63}, {83, 67}}, {86, 70}},
     {{{40, 46}, {37, 57}, {32, 63}, {27, 68}}, {24, 71}},
     {{{68, 48}, {75, 58}, {83, 61}, {91, 63}}, {95, 65}},
     {{{35, 46}, {29, 56}, {22, 61}, {16, 65}}, {13, 68}},
     {{{81, 8}, {72, 0}, {64, 10}, {55, 4}, px(3.25), px(1), 0},
      {{79, 12}, {70, 6}, {64, 16}, {53, 11}, px(3.25), px(1), 1},
      {{77, 16}, {68, 12}, {63, 22}, {52, 18}, px(3.25), px(1), 2},
      {{74, 20}, {66, 18}, {61, 28}, {51, 25}, px(3.25), px(1), 3},
      {{71, 24}, {64, 24}, {59, 33}, {50, 31}, px(3), px(1), 4},
      {{67, 28}, {61, 29}, {57, 36}, {50, 36}, px(2.75), px(1), 5}},
     {{{27, 36}, {18, 30}, {12, 36}, {4, 31}, px(3.25), px(1), 0},
      {{27, 38}, {18, 34}, {12, 41}, {4, 37}, px(3.25), px(1), 1},
      {{27, 40}, {18, 38}, {12, 46}, {4, 43}, px(3.25), px(1), 2},
      {{27, 42}, {19, 42}, {13, 50}, {6, 49}, px(3), px(1), 4},
      {{28, 44}, {21, 47}, {16, 54}, {9, 55}, px(2.75), px(1), 5}}},
    {1,
     {{{64, 48}, {70, 59}, {67, 66}, {63, 71}}, {62, 74}},
     {{{38, 46}, {44, 57}, {42, 64}, {48, 70}}, {51, 72}},
     {{{68, 48}, {76, 58}, {72, 65}, {66, 69}}, {63, 71}},
     {{{34, 46}, {40, 57}, {36, 63}, {42, 71}}, {45, 73}},
     {{{81, 8}, {72, 3}, {64, 5}, {55, 12}, px(3.25), px(1), 0},
      {{79, 12}, {70, 9}, {63, 11}, {53, 18}, px(3.25), px(1), 1},
      {{77, 16}, {68, 15}, {62, 17}, {52, 24}, px(3.25), px(1), 2},
      {{74, 20}, {66, 21}, {60, 23}, {51, 30}, px(3.25), px(1), 3},
      {{71, 24}, {64, 26}, {58, 29}, {50, 35}, px(3), px(1), 4},
      {{67, 28}, {61, 31}, {57, 33}, {50, 39}, px(2.75), px(1), 5}},
     {{{26, 36}, {16, 32}, {10, 28}, {3, 36}, px(3.25), px(1), 0},
      {{26, 38}, {16, 37}, {10, 35}, {4, 44}, px(3.25), px(1), 1},
      {{26, 40}, {17, 43}, {11, 42}, {6, 51}, px(3.25), px(1), 2},
      {{27, 42}, {19, 48}, {14, 49}, {10, 58}, px(3), px(1), 4},
      {{28, 44}, {22, 52}, {18, 55}, {17, 64}, px(2.75), px(1), 5}}},
};

Point lifted(Point p, int bob) {
    return {p.x, p.y + bob};
}

Mask blank() {
    return make_grid<std::uint8_t>(unicorn_width, unicorn_height, 0);
}

// Leg radii from the top down: thick at the body, slim at the fetlock.
constexpr int leg_radii[4] = {px(5), px(3), px(2.25), px(2)};

Mask leg_shape(const Leg& leg, int bob) {
    Mask mask = blank();
    const Point top = lifted(leg.joints[0], bob);
    fill_stroke(mask, top, leg.joints[1], leg_radii[0], leg_radii[1]);
    for (int i = 1; i < 3; ++i) {
        fill_stroke(mask, leg.joints[i], leg.joints[i + 1], leg_radii[i], leg_radii[i + 1]);
    }
    return mask;
}

Mask hoof_shape(const Leg& leg) {
    Mask mask = blank();
    fill_stroke(mask, leg.joints[3], leg.hoof, px(2.25), px(2.5));
    return mask;
}

void draw_leg(Canvas& canvas, const Leg& leg, int bob, Colour colour, Colour shade) {
    const Mask shape = leg_shape(leg, bob);
    outline_over(canvas, shape, pal::inner_line, mask_colour);
    paint(canvas, shape, colour);
    paint_rim(canvas, shape, 1, 2, shade);
    const Mask hoof = hoof_shape(leg);
    outline_over(canvas, hoof, pal::inner_line, mask_colour);
    paint(canvas, hoof, pal::hoof);
    paint_rim(canvas, hoof, 1, 1, pal::hoof_shade);
}

void draw_locks(Canvas& canvas, const Lock* locks, int count, int bob) {
    for (int i = 0; i < count; ++i) {
        const Lock& lock = locks[i];
        Mask shape = blank();
        fill_curve(shape, lifted(lock.p0, bob), lifted(lock.p1, bob), lifted(lock.p2, bob),
                   lifted(lock.p3, bob), lock.r_from, lock.r_to);
        const Colour colour = pal::hair[lock.colour];
        outline_over(canvas, shape, pal::inner_line, mask_colour);
        paint(canvas, shape, colour);
        paint_rim(canvas, shape, 0, 2, mix(colour, pal::outline, 1, 4));
        paint_rim(canvas, shape, 0, -2, mix(colour, 0xFFFFFF, 2, 5));
    }
}

// Torso, neck and head as one silhouette: they share one skin without lines between them.
Mask body_shape(int bob) {
    Mask mask = blank();
    fill_ellipse(mask, {50, 42 + bob}, px(21), px(10.5));
    fill_ellipse(mask, {33, 41 + bob}, px(10.5), px(10));
    fill_ellipse(mask, {67, 42 + bob}, px(10), px(10));
    fill_stroke(mask, {68, 40 + bob}, {80, 19 + bob}, px(8), px(6));
    fill_ellipse(mask, {83, 15 + bob}, px(8.5), px(7.5));
    fill_stroke(mask, {85, 17 + bob}, {97, 25 + bob}, px(6), px(4.75));
    return mask;
}

// The ear stands in front of the mane, so it is drawn after it.
void draw_ear(Canvas& canvas, int bob) {
    Mask ear = blank();
    fill_stroke(ear, {80, 10 + bob}, {78, 1 + bob}, px(2.75), px(0.75));
    outline_over(canvas, ear, pal::inner_line, mask_colour);
    paint(canvas, ear, pal::body);
    Mask inside = blank();
    fill_stroke(inside, {80, 9 + bob}, {79, 4 + bob}, px(0.75), px(0.25));
    paint(canvas, inside, pal::blush);
}

// A short contour inside the body, where a haunch or shoulder rounds off over the leg: the
// lower part of the rim around `muscle`, on body cells only.
void draw_crease(Canvas& canvas, const Mask& body, const Mask& muscle, int from_y) {
    Mask crease = blank();
    for (int y = from_y; y < unicorn_height; ++y) {
        for (int x = 0; x < unicorn_width; ++x) {
            if (get(muscle, x, y) == 0 && get(body, x, y) != 0) set(crease, x, y, std::uint8_t{1});
        }
    }
    Mask line = blank();
    for (int y = from_y; y < unicorn_height; ++y) {
        for (int x = 0; x < unicorn_width; ++x) {
            const bool beside = get(muscle, x - 1, y) != 0 || get(muscle, x + 1, y) != 0 ||
                                get(muscle, x, y - 1) != 0 || get(muscle, x, y + 1) != 0;
            const bool inner = get(body, x - 1, y) != 0 && get(body, x + 1, y) != 0 &&
                               get(body, x, y - 1) != 0 && get(body, x, y + 1) != 0;
            if (get(crease, x, y) != 0 && beside && inner) set(line, x, y, std::uint8_t{1});
        }
    }
    paint(canvas, line, pal::body_shade);
}

void draw_horn(Canvas& canvas, int bob) {
    const Point base{87, 8 + bob};
    const Point tip{101, 1 + bob};
    Mask shape = blank();
    fill_stroke(shape, base, tip, px(2.5), px(0.25));
    outline_over(canvas, shape, pal::inner_line, mask_colour);
    // The spiral: five turns of dark, light and mid bands, slanted against the horn's axis.
    const int ax = tip.x - base.x;
    const int ay = tip.y - base.y;
    const int length2 = ax * ax + ay * ay;
    paint_with(canvas, shape, [&](int x, int y) {
        const int along = (x - base.x) * ax + (y - base.y) * ay;   // length2 at the tip
        const int across = (x - base.x) * ay - (y - base.y) * ax;  // signed, times the length
        const int band = (3 * 5 * (2 * along + across) / (2 * length2) + 30) % 3;
        return band == 0 ? pal::horn_dark : band == 1 ? pal::horn_light : pal::horn;
    });
}

void draw_face(Canvas& canvas, int bob) {
    stamp_map(canvas, {87, 11 + bob},
              {
                  "..k..",
                  ".kkk.",
                  "kwiik",
                  "kiiik",
                  ".kkk.",
              },
              {{'k', pal::eye}, {'i', pal::iris}, {'w', pal::eye_glint}});
    stamp_map(canvas, {84, 18 + bob},
              {
                  ".bb.",
                  "bbbb",
                  ".bb.",
              },
              {{'b', pal::blush}});
    stamp_map(canvas, {97, 22 + bob}, {"nn", ".n"}, {{'n', pal::nostril}});
    stamp_map(canvas, {94, 27 + bob}, {"llll"}, {{'l', pal::inner_line}});
}

}  // namespace

Canvas draw_unicorn(int frame) {
    const Pose& pose = poses[frame == 1 ? 1 : 0];
    Canvas canvas = make_grid<Colour>(unicorn_width, unicorn_height, mask_colour);

    draw_leg(canvas, pose.far_front, pose.bob, pal::far_body, pal::far_body_shade);
    draw_leg(canvas, pose.far_hind, pose.bob, pal::far_body, pal::far_body_shade);
    draw_locks(canvas, pose.tail, 5, pose.bob);

    Mask body = body_shape(pose.bob);
    const Mask near_front = leg_shape(pose.near_front, pose.bob);
    const Mask near_hind = leg_shape(pose.near_hind, pose.bob);
    merge(body, near_front);
    merge(body, near_hind);
    outline_over(canvas, body, pal::inner_line, mask_colour);
    paint(canvas, body, pal::body);
    paint_rim(canvas, body, 0, 3, pal::body_shade);
    paint_rim(canvas, body, 0, -2, pal::body_highlight);
    Mask haunch = blank();
    fill_ellipse(haunch, {35, 44 + pose.bob}, px(9), px(9));
    draw_crease(canvas, body, haunch, 45 + pose.bob);
    Mask shoulder = blank();
    fill_ellipse(shoulder, {67, 44 + pose.bob}, px(7), px(8));
    draw_crease(canvas, body, shoulder, 47 + pose.bob);
    for (const Leg* leg : {&pose.near_front, &pose.near_hind}) {
        const Mask hoof = hoof_shape(*leg);
        outline_over(canvas, hoof, pal::inner_line, mask_colour);
        paint(canvas, hoof, pal::hoof);
        paint_rim(canvas, hoof, 1, 1, pal::hoof_shade);
    }

    draw_locks(canvas, pose.mane, 6, pose.bob);
    draw_ear(canvas, pose.bob);
    draw_horn(canvas, pose.bob);
    draw_face(canvas, pose.bob);
    outline_silhouette(canvas, pal::outline, mask_colour);
    close_pockets(canvas, mask_colour, pal::outline, 8);
    return canvas;
}

}  // namespace art
