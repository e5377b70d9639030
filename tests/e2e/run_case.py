# Runs one end-to-end case module (the ctest entry point): exit 0 on success, 1 on a
# failure, and the code ctest counts as skipped (VSMR_SKIPPED_EXIT_CODE, else 77) when a
# test in it was skipped because the machine lacks something and none failed.
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

if __name__ == '__main__':
    suite = unittest.defaultTestLoader.loadTestsFromName(sys.argv[1])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if not result.wasSuccessful():
        sys.exit(1)
    if result.testsRun == 0:
        sys.exit(f'{sys.argv[1]} holds no tests')
    sys.exit(int(os.environ.get('VSMR_SKIPPED_EXIT_CODE', 77)) if result.skipped else 0)
