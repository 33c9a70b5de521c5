#include <cstdio>

// Placeholder until the desktop application lands.
int main() {
    std::puts(
        "hunt: the desktop application is not built yet; run scripts/test to check the core.");
    return 0;
}
