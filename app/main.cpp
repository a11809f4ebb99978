#include "app/animation.h"
#include "app/system_facility.h"

int main() {
    animation::SystemFacility gfx;
    animation::run_animation(gfx);
    return 0;
}
