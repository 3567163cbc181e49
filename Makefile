# The two commands of the README.
#   make run   builds the release tree and plays the demo (captures it to brovell.mp4
#              where there is no display)
#   make test  checks the include rules, builds with the sanitizers and runs every test, then
#              builds the file readers' fuzz targets (clang, libFuzzer) and runs each briefly
.PHONY: run test deps
MAKEFLAGS += --no-print-directory

deps:
	@scripts/install-deps

run: deps
	cmake --preset release
	cmake --build --preset release
	scripts/play build/release

# The tests may not outgrow the code: at most 0.40 of its lines (scripts/test-ratio).
test: deps
	scripts/check-format
	scripts/test-ratio
	scripts/check-layers
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan --output-on-failure
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan --output-on-failure
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz --output-on-failure
