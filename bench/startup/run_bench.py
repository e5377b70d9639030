# Start-up and idle benchmarks of vesmira.exe under Wine and Xvfb, each as a ratio to
# the minimal reference window (minimal_window.exe) measured in the same run:
#   first paint: time from the start to the clock text's first pixels on screen, seen
#     from outside (first_paint polls the screen), with a full command list and settings;
#     also against the reference built to prepare the same libraries first ("libs");
#   idle CPU: utime + stime over 60 s of clock ticking, of the program's process, with
#     the Wine server's share (and Wine's desktop process) counted apart.
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tests', 'e2e'))

from desktop import Desktop  # noqa: E402
from program_files import (command_list, first_start_settings,  # noqa: E402
                           settings_file)
from wine import WIN64_BIN, wine_env, windows_path  # noqa: E402

FACE = (18, 0, 56, 22)  # x, y, width, height of the clock text area
CLOCK_COLOUR = '00ff40'
# The first paint may take at most these multiples of the two references' (medians).
GOAL_MINIMAL = 1.25
GOAL_LIBS = 1.1


def full_settings(folder_windows):
    """Every key present and every table full: 8 enabled timers, 5 enabled accounts (no
    automatic check), 64 shown launcher items, a hot key."""
    hour = (time.localtime().tm_hour + 12) % 24
    exe = folder_windows + '\\vesmira.exe'
    sections = {}
    for line in first_start_settings(folder_windows).decode('cp932').split('\r\n'):
        if line.startswith('['):
            current = sections.setdefault(line[1:-1], [])
        elif line:
            key, value = line.split('=', 1)
            current.append((key, value))
    sections['TimerAlarmData'] = [(f'CommandTimer{n:02d}', f'1,{hour:02d}:{n:02d},cmd{n:03d} a b')
                                  for n in range(1, 9)]
    mail = [kv for kv in sections['MailPopSetting'] if 'AccountData' not in kv[0]]
    mail += [(f'Mail{n}AccountData', f'1\t127.0.0.1\tuser{n}\tpass{n}\t') for n in range(1, 6)]
    sections['MailPopSetting'] = mail
    launchers = []
    for n in range(1, 65):
        launchers.append((f'Launcher{n:02d}Data', f'1\t{exe}\tボタン {n}'))
        launchers.append((f'Launcher{n:02d}Icon', f'0\t{exe}'))
    sections['ButtonLauncher'] = launchers
    sections['CommandLineLauncher'] = [('HotKey', 0x064B)]
    return settings_file(sections)


def full_command_list(folder_windows):
    return command_list([(f'cmd{n:03d}', f'{folder_windows}\\tool{n:03d}.exe %01 %02',
                          f'コマンド {n} の説明') for n in range(1, 257)])


def prepare(out):
    folders = {}
    for name, exe in (('minimal', 'minimal_window.exe'), ('libs', 'minimal_window_libs.exe'),
                      ('vesmira', 'vesmira.exe')):
        folder = os.path.join(out, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(os.path.join(WIN64_BIN, exe), folder)
        folders[name] = (folder, exe)
    return folders


def reset_files(folder):
    """The program saves nothing when killed, but every run starts from the same files."""
    win = windows_path(folder)
    with open(os.path.join(folder, 'vsmrsys.ini'), 'wb') as f:
        f.write(full_settings(win))
    with open(os.path.join(folder, 'vsmrcmd.dat'), 'wb') as f:
        f.write(full_command_list(win))


def kill(pid):
    try:
        os.kill(pid, 9)
    except ProcessLookupError:
        return
    deadline = time.monotonic() + 10
    while os.path.exists(f'/proc/{pid}') and time.monotonic() < deadline:
        # A killed child of first_paint is reparented; /proc/<pid> goes once it is reaped.
        try:
            with open(f'/proc/{pid}/stat') as f:
                if f.read().split(') ', 1)[1].startswith('Z'):
                    return
        except OSError:
            return
        time.sleep(0.05)


def read_trace(path):
    """The program's own start-up trace: (step, ms since the process was created)."""
    try:
        with open(path, encoding='utf-8') as f:
            return [(step, float(ms)) for ms, step in (line.rstrip('\n').split(' ', 1) for line in f if ' ' in line)]
    except OSError:
        return []


def first_paint(tool, desktop, folder, exe, log, traces=None):
    env = wine_env()
    env['DISPLAY'] = desktop.display
    trace = os.path.join(folder, 'trace.txt')
    if exe == 'vesmira.exe':
        reset_files(folder)
    if os.path.exists(trace):
        os.remove(trace)
    env['VSMR_STARTUP_TRACE'] = windows_path(folder) + '\\trace.txt'
    x, y, w, h = FACE
    out = subprocess.run([tool, str(x), str(y), str(w), str(h), CLOCK_COLOUR, '20', '30000', log,
                          '--', env['WINE'], os.path.join(folder, exe)],
                         cwd=folder, env=env, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL,
                         timeout=60).stdout.decode().split()
    pid = int(out[1])
    # Let the window go before the next start: the region must be dark again.
    kill(pid)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and desktop.find_windows('^(VesmiraStartupReference|Vesmira2002)'):
        time.sleep(0.05)
    if out[0] == 'timeout':
        raise RuntimeError(f'{exe} painted no clock text within 30 s')
    if traces is not None:
        traces.setdefault(exe, []).append(read_trace(trace))
    return float(out[0])


def ticks(pid):
    with open(f'/proc/{pid}/stat') as f:
        fields = f.read().rsplit(') ', 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime (fields 14 and 15)


def wine_helpers():
    """Pids of this prefix's wineserver and of Wine's desktop process (explorer.exe)."""
    prefix = wine_env()['WINEPREFIX']
    st = os.stat(prefix)
    # The server works in <temporary folder>/server-<device>-<inode of the prefix>.
    server_dir = f'server-{st.st_dev:x}-{st.st_ino:x}'
    found = {}
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            cwd = os.readlink(f'/proc/{entry}/cwd')
            cmdline = open(f'/proc/{entry}/cmdline', 'rb').read().split(b'\0')[0].decode()
            environ = open(f'/proc/{entry}/environ', 'rb').read()
        except OSError:
            continue
        if os.path.basename(cwd) == server_dir and 'wineserver' in cmdline:
            found['wineserver'] = int(entry)
        elif cmdline.lower().endswith('explorer.exe') and f'WINEPREFIX={prefix}'.encode() in environ:
            found.setdefault('explorer', int(entry))
    return found


def idle_cpu(desktop, folder, exe, seconds):
    if exe == 'vesmira.exe':
        reset_files(folder)
    env = wine_env()
    env['DISPLAY'] = desktop.display
    with open(os.path.join(folder, 'idle.log'), 'ab') as log:
        process = subprocess.Popen([env['WINE'], os.path.join(folder, exe)], cwd=folder, env=env,
                                   stdin=subprocess.DEVNULL, stdout=log, stderr=log)
    try:
        time.sleep(5)  # past start-up
        pids = dict(wine_helpers(), program=process.pid)
        before = {name: ticks(pid) for name, pid in pids.items()}
        time.sleep(seconds)
        after = {}
        for name, pid in pids.items():
            try:
                after[name] = ticks(pid)
            except OSError:
                raise RuntimeError(f'{name} (pid {pid}) ended during the idle measurement')
    finally:
        process.kill()
        process.wait()
    hz = os.sysconf('SC_CLK_TCK')
    return {name: 100.0 * (after[name] - before[name]) / hz / seconds for name in pids}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--out', required=True)
    parser.add_argument('--tool', required=True)
    parser.add_argument('--runs', type=int, default=15)
    parser.add_argument('--idle-seconds', type=int, default=60)
    args = parser.parse_args()
    args.out, args.tool = os.path.abspath(args.out), os.path.abspath(args.tool)
    folders = prepare(args.out)
    desktop = Desktop(os.path.join(args.out, 'display'))
    try:
        log = os.path.join(args.out, 'wine.log')
        times = {name: [] for name in folders}
        traces = {}
        for name, (folder, exe) in folders.items():  # warm-up, not counted
            first_paint(args.tool, desktop, folder, exe, log)
        for run in range(args.runs):
            order = list(folders.items())
            if run % 2:
                order.reverse()
            for name, (folder, exe) in order:
                times[name].append(first_paint(args.tool, desktop, folder, exe, log, traces))
        median = {name: statistics.median(values) for name, values in times.items()}
        print(f'first paint, median (and fastest) of {args.runs} runs, ms:')
        for name, values in times.items():
            print(f'  {name:8s} {median[name]:7.1f} ({min(values):5.1f})   '
                  f'runs: {" ".join(f"{v:.0f}" for v in values)}')
        print(f'  ratio vesmira / minimal: {median["vesmira"] / median["minimal"]:.2f} '
              f'(goal: at most {GOAL_MINIMAL})')
        print(f'  ratio vesmira / libs (the reference after OLE, shell allocator, Rich Edit and '
              f'common controls): {median["vesmira"] / median["libs"]:.2f} (goal: at most {GOAL_LIBS})')
        print(f'  fastest runs: vesmira / minimal {min(times["vesmira"]) / min(times["minimal"]):.2f}, '
              f'vesmira / libs {min(times["vesmira"]) / min(times["libs"]):.2f}')

        for exe, runs in traces.items():
            # The steps every run reached (the program is ended once its clock face is seen).
            steps = [step for step, _ in min(runs, key=len)]
            complete = [dict(t) for t in runs if [step for step, _ in t[:len(steps)]] == steps]
            if not complete:
                continue
            print(f'start-up trace of {exe}, median of {len(complete)} runs, ms since the process was '
                  f'created (at the end of each step, and the step\'s own share):')
            previous = 0.0
            for step in steps:
                at = statistics.median(t[step] for t in complete)
                print(f'  {at:7.1f} {at - previous:+7.1f}  {step}')
                previous = at

        if args.idle_seconds <= 0:
            return
        print(f'idle CPU over {args.idle_seconds} s, percent of one core:')
        usage = {}
        for name, (folder, exe) in folders.items():
            if name == 'libs':
                continue
            usage[name] = idle_cpu(desktop, folder, exe, args.idle_seconds)
            parts = ', '.join(f'{k} {v:.3f}%' for k, v in sorted(usage[name].items())
                              if k != 'program')
            print(f'  {name:8s} program {usage[name]["program"]:.3f}%   (apart: {parts})')
        ref = usage['minimal']['program']
        ratio = f'{usage["vesmira"]["program"] / ref:.2f}' if ref > 0 else 'n/a (reference 0)'
        print(f'  ratio vesmira / minimal (program process): {ratio}; '
              f'goal: vesmira under 1% of one core')
    finally:
        desktop.close()


if __name__ == '__main__':
    main()
