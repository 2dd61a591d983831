// Compiled only so that its target carries the precompiled header that the project's other
// targets of the same kind reuse (see tavrel_precompile_shared).
int main() {
    return 0;
}
