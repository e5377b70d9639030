# Front door: `make test` installs, builds and tests everything; `make check` builds the
# host folder only and runs its unit tests; `make run` starts the program.
.PHONY: test check build bench clean run
test:
	bash scripts/test.sh

check:
	bash scripts/check.sh

build:
	bash scripts/install-deps.sh
	bash scripts/build.sh

bench:
	bash bench/mime/run_bench.sh
	bash bench/startup/run_bench.sh
	bash bench/pop3/run.sh
	bash bench/pop3/run_tls.sh
	bash bench/mailcheck/run_bench.sh
	bash bench/settings/run_bench.sh

run:
	bash scripts/run.sh

clean:
	rm -rf build

# The download for users: dist/vesmira-<version>.zip from the 32-bit build.
.PHONY: dist
dist:
	bash scripts/install-deps.sh
	bash scripts/dist.sh
