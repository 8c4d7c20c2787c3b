"""End-to-end test harness: runs Windows programs of a build under its Wine prefix on an X
display, drives them through windriver.exe, and keeps screenshots in <build>/artifacts/.

Every wait has a time limit and fails with a message that says what was awaited, together with a
screenshot of the screen at that moment. Nothing is retried to hide a failure.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..', '..'))


class E2EFailure(AssertionError):
    pass


def _env_path(name, default=None):
    value = os.environ.get(name, default)
    if value is None:
        raise E2EFailure(f'{name} is not set: run this test through ctest of a Windows build')
    return os.path.abspath(value)


class WineSession:
    """One test's view of the build's Wine prefix. Use as a context manager."""

    def __init__(self, name, build_dir=None, windriver=None):
        self.name = name
        self.build_dir = build_dir or _env_path('PAGINA_BINARY_DIR')
        self.source_dir = os.environ.get('PAGINA_SOURCE_DIR', ROOT)
        self.windriver_exe = windriver or _env_path(
            'PAGINA_WINDRIVER', os.path.join(self.build_dir, 'tools', 'windriver', 'windriver.exe'))
        self.prefix = os.environ.get('WINEPREFIX') or os.path.join(self.build_dir, 'wineprefix')
        self.artifacts = os.path.join(self.build_dir, 'artifacts', name)
        self.processes = []
        self._own_xvfb = None
        self._shot = 0
        self.env = dict(os.environ)
        self.env.update({
            'WINEPREFIX': self.prefix,
            'WINEDLLOVERRIDES': 'mscoree,mshtml=',
            'WINEDEBUG': '-all',
            'LANG': 'ja_JP.UTF-8',
            'LC_ALL': 'ja_JP.UTF-8',
            'WINEARCH': 'win64',
        })

    # -- set-up and tear-down -------------------------------------------------------------
    def __enter__(self):
        if os.path.isdir(self.artifacts):
            shutil.rmtree(self.artifacts)
        os.makedirs(self.artifacts, exist_ok=True)
        wine_prefix = os.path.join(ROOT, 'tools', 'wine-prefix')
        # Creates the prefix if the fixture has not (a run outside ctest).
        subprocess.run([wine_prefix, 'start', self.prefix], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, timeout=900)
        display = subprocess.run([wine_prefix, 'display', self.prefix], env=self.env,
                                 capture_output=True, text=True).stdout.strip()
        if not display:
            display = self._start_xvfb()
        self.env['DISPLAY'] = display
        self.display = display
        self.log(f'prefix {self.prefix}, display {display}')
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc is not None and not isinstance(exc, E2EFailure):
            try:
                self.screenshot('failure')
            except Exception as e:  # the failure itself matters more than its picture
                self.log(f'no failure screenshot: {e}')
        for proc in self.processes:
            if proc.poll() is None:
                proc.kill()
                try:
                    proc.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    self.log(f'process {proc.pid} did not end')
        if self._own_xvfb is not None:
            subprocess.run(['wineserver', '-k'], env=self.env)
            self._own_xvfb.kill()
            self._own_xvfb.wait()
        return False

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self._own_xvfb = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_fd), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise E2EFailure('Xvfb did not start')
        return ':' + number

    # -- programs ---------------------------------------------------------------------
    def log(self, text):
        print(f'[{self.name}] {text}', flush=True)

    def start(self, exe, *args, cwd=None):
        """Starts a Windows program (host path or Windows path) and returns its process."""
        name = exe.replace('\\', '/').rsplit('/', 1)[-1]
        log = open(os.path.join(self.artifacts, f'{name}.log'), 'ab')
        proc = subprocess.Popen(['wine', exe, *args], env=self.env, cwd=cwd, stdout=log,
                                stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        self.processes.append(proc)
        self.log(f'started {exe} {" ".join(args)} (pid {proc.pid})')
        return proc

    def wait_exit(self, proc, timeout=60, what='the program'):
        try:
            return proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail(f'{what} did not end within {timeout} s')

    def map_drive(self, letter, folder):
        """Makes a host folder appear as a drive letter (e.g. the distribution disk)."""
        link = os.path.join(self.prefix, 'dosdevices', letter.lower() + ':')
        if os.path.islink(link) or os.path.exists(link):
            os.remove(link)
        os.symlink(os.path.abspath(folder), link)

    def windows_path(self, host_path):
        """The Windows path of a host file (through Wine's Z: drive)."""
        return 'Z:' + os.path.abspath(host_path).replace('/', '\\')

    # -- windriver --------------------------------------------------------------------
    def driver(self, *args, timeout=120, check=True):
        """Runs windriver; returns its stdout (UTF-8 text). Fails with its message when check."""
        # Output goes to files, not pipes: Wine may start a long-lived helper (its server, the
        # desktop process) from this call, which would inherit a pipe and hold it open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                result = subprocess.run(['wine', self.windriver_exe, *args], env=self.env, stdout=out, stderr=err,
                                        timeout=timeout, stdin=subprocess.DEVNULL)
            except subprocess.TimeoutExpired:
                self.fail(f'windriver {" ".join(args)} did not answer within {timeout} s')
            out.seek(0)
            err.seek(0)
            stdout = out.read().decode('utf-8', errors='replace')
            stderr = err.read().decode('utf-8', errors='replace')
        if check and result.returncode != 0:
            self.fail(f'windriver {" ".join(args)} failed ({result.returncode}): {stderr.strip()}')
        self.last_driver = (result.returncode, stdout, stderr)
        return stdout

    def wait_window(self, cls=None, title_contains=None, timeout=60):
        args = ['wait-window', '--timeout', str(timeout)]
        if cls:
            args += ['--class', cls]
        if title_contains:
            args += ['--title-contains', title_contains]
        return self.driver(*args, timeout=timeout + 60)

    def wait_gone(self, cls=None, title_contains=None, timeout=60):
        args = ['wait-gone', '--timeout', str(timeout)]
        if cls:
            args += ['--class', cls]
        if title_contains:
            args += ['--title-contains', title_contains]
        self.driver(*args, timeout=timeout + 60)

    def click(self, window, text, timeout=30):
        self.driver('click', '--window', window, '--text', text, '--timeout', str(timeout))

    def answer_box(self, title, button, timeout=60):
        """Waits for a message box by caption, presses the button id; returns the box's message."""
        return self.driver('answer-box', '--title', title, '--button', str(button), '--timeout', str(timeout),
                           timeout=timeout + 60).rstrip('\n')

    def get_text(self, window, *selector):
        return self.driver('get-text', '--window', window, *selector).rstrip('\n')

    def wait_text(self, window, selector, expected, timeout=30):
        """Waits until a control's text equals expected."""
        deadline = time.monotonic() + timeout
        seen = None
        while time.monotonic() < deadline:
            seen = self.get_text(window, *selector)
            if seen == expected:
                return
            time.sleep(0.2)
        self.fail(f'text of {selector} in "{window}" stayed {seen!r}, expected {expected!r} within {timeout} s')

    # -- evidence ---------------------------------------------------------------------
    def screenshot(self, label):
        """Saves the whole screen as <build>/artifacts/<test>/<n>-<label>.png; returns the path."""
        self._shot += 1
        path = os.path.join(self.artifacts, f'{self._shot:02d}-{label}.png')
        result = subprocess.run(['import', '-window', 'root', '-display', self.display, path],
                                capture_output=True, timeout=60)
        if result.returncode != 0:
            raise E2EFailure(f'screenshot failed: {result.stderr.decode(errors="replace").strip()}')
        self.log(f'screenshot {path}')
        return path

    def fail(self, message):
        shot = ''
        try:
            shot = f' (screen: {self.screenshot("failure")})'
        except Exception as e:
            shot = f' (no screenshot: {e})'
        raise E2EFailure(message + shot)

    def check(self, condition, message):
        if not condition:
            self.fail(message)


def cp932(lines):
    """Lines of a script or text file as the programs read them: CP932 with CR LF."""
    return ('\r\n'.join(lines) + '\r\n').encode('cp932')


def put(path, data):
    """Writes bytes to a host file, making its folders."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def reg(s, *args):
    """Wine's reg.exe in the session's prefix; the completed process is returned."""
    return subprocess.run(['wine', 'reg', *args], env=s.env, capture_output=True, timeout=120)


def run(test):
    """Runs test(session-name) style main: prints a clear verdict and sets the exit status."""
    try:
        test()
    except E2EFailure as e:
        print(f'FAILED: {e}', file=sys.stderr, flush=True)
        sys.exit(1)
    print('PASSED', flush=True)
