# Front door: `make test` installs, builds and tests everything; `make run` starts the program.
.PHONY: test build bench clean
test:
	bash scripts/test.sh

build:
	bash scripts/install-deps.sh
	bash scripts/build.sh

bench:
	bash bench/startup/run_bench.sh

clean:
	rm -rf build
