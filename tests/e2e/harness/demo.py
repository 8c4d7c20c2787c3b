"""The demo behind tools/demo: installs the viewer from the sample medium with setup.exe under Wine,
opens the sample book, and uninstalls it again through the Uninstall entry.

With a screen ($DISPLAY set and PAGINA_DEMO_HEADLESS not 1) a person clicks through the installer;
the script only swaps drive D: to disk 2 when the installer asks for it. Without one, the script
runs on its own Xvfb and answers every question with its default, keeping a screenshot of each
step. The steps are functions so that the end-to-end test of the demo runs the same path.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pagina_e2e  # noqa: E402

IDOK, IDYES = 1, 6
SETUP_TITLE = 'Pagina Viewer セットアップ'
VIEWER_TITLE = 'Pagina Viewer'
VERSION_TITLE = 'Pagina Viewer のﾊﾞｰｼﾞｮﾝ情報'
UNSETUP_TITLE = 'Pagina Viewer'
BOOK_TITLE = 'Pagina サンプルブック'
APP = 'C:\\Program Files\\Pagina\\'
ENTRY = 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PaginaViewer'
USER_KEY = 'HKCU\\Software\\Pagina\\PaginaV1'
DISK_QUESTION = '2枚目のディスクに交換してください．'
BOOK_FILES = (['sample.pgd'] + [f'sample{n:03d}.jpg' for n in range(1, 25)])
BITMAP_FILES = ['bitmap.pgd', 'bitmap001.bmp', 'bitmap002.bmp']
# (shell folder name of the user profile, shortcut path inside it, target, arguments)
SHORTCUTS = [
    ('Desktop', 'Pagina Viewer.lnk', APP + 'PaginaV1.exe', ''),
    ('Programs', 'Pagina Viewer\\Pagina Viewer.lnk', APP + 'PaginaV1.exe', ''),
    ('Programs', 'Pagina Viewer\\サンプルブック.lnk', APP + 'PaginaV1.exe', '"' + APP + 'Book\\sample.pgd"'),
    ('Programs', 'Pagina Viewer\\Pagina Viewer ヘルプ.lnk', APP + 'help.htm', ''),
]


# -- small helpers ------------------------------------------------------------------------
def wine(s, *args, timeout=120):
    """Runs a Wine builtin (reg); returns the completed process with text output."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            result = subprocess.run(['wine', *args], env=s.env, stdout=out, stderr=err, timeout=timeout,
                                    stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            s.fail(f'wine {" ".join(args)} did not end within {timeout} s')
        out.seek(0)
        err.seek(0)
        # Wine's console programs write files in the code page of the Japanese locale.
        result.stdout = out.read().decode('cp932', errors='replace')
        result.stderr = err.read().decode('cp932', errors='replace')
    return result


def reg_values(s, key):
    """The values directly under a registry key as {name: (type, data)}; None when the key is missing.
    The default value is named ''."""
    result = wine(s, 'reg', 'query', key)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.splitlines():
        if not line.startswith('    '):
            continue
        parts = line.strip().split('    ')
        if len(parts) >= 2 and parts[1].startswith('REG_'):
            name = '' if parts[0] == '(既定)' or parts[0] == '(Default)' else parts[0]
            values[name] = (parts[1], parts[2] if len(parts) > 2 else '')
    return values


def host_path(s, windows_path):
    """Host path of a path on the prefix's C: drive (the only drive the installed files are on)."""
    s.check(windows_path[:3].upper() == 'C:\\', f'not a C: path: {windows_path}')
    return os.path.join(s.prefix, 'drive_c', *windows_path[3:].split('\\'))


def prefix_user(s):
    """The name of the prefix's user folder under C:\\users."""
    users = os.path.join(s.prefix, 'drive_c', 'users')
    user = os.environ.get('USER') or os.path.basename(os.path.expanduser('~'))
    if os.path.isdir(os.path.join(users, user)):
        return user
    candidates = [d for d in os.listdir(users) if d.lower() != 'public']
    s.check(len(candidates) == 1, f'cannot tell the prefix user among {candidates}')
    return candidates[0]


USER_FOLDERS = {'Desktop': 'Desktop', 'Programs': 'AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs'}


def user_folder(s, kind):
    """Host path of the Desktop or the Programs folder of the prefix's user."""
    return os.path.join(s.prefix, 'drive_c', 'users', prefix_user(s), *USER_FOLDERS[kind].split('\\'))


def user_windows_path(s, kind, name):
    """The Windows path of a file in the Desktop or the Programs folder of the prefix's user."""
    return 'C:\\users\\' + prefix_user(s) + '\\' + USER_FOLDERS[kind] + '\\' + name


def read_profile(path):
    """A CP932 profile file as [(section, [(key, value)])], in file order."""
    with open(path, 'rb') as f:
        text = f.read().decode('cp932')
    sections = []
    for line in text.split('\r\n'):
        if line.startswith('[') and line.endswith(']'):
            sections.append((line[1:-1], []))
        elif '=' in line and sections:
            key, value = line.split('=', 1)
            sections[-1][1].append((key, value))
    return sections


def lnk_info(path):
    """Target and arguments of a shortcut file, read with lnkinfo."""
    result = subprocess.run(['lnkinfo', path], capture_output=True, timeout=60)
    text = result.stdout.decode('utf-8', errors='replace')
    info = {'rc': result.returncode}
    for line in text.splitlines():
        if ':' not in line:
            continue
        key, value = line.split(':', 1)
        info.setdefault(key.strip(), value.strip())
    return info


def status_panels(s, probe):
    """Texts of the viewer's status bar panels (the harness driver reads only the first one)."""
    with tempfile.TemporaryFile() as out:
        try:
            result = subprocess.run(['wine', probe, 'panels', VIEWER_TITLE], env=s.env, stdout=out, stderr=subprocess.DEVNULL,
                                    timeout=60, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            s.fail('window_probe panels did not answer within 60 s')
        out.seek(0)
        lines = out.read().decode('utf-8', errors='replace').splitlines()
    return lines if result.returncode == 0 else None


# Toolbar buttons of the viewer by position (separators counted).
TOOL_BACK, TOOL_FORWARD, TOOL_LAST = 4, 5, 9


def press_tool(s, probe, index):
    """Presses a button of the viewer's toolbar (the driver presses only real buttons)."""
    with tempfile.TemporaryFile() as out:
        try:
            result = subprocess.run(['wine', probe, 'toolbar', VIEWER_TITLE, str(index)], env=s.env, stdout=out,
                                    stderr=subprocess.DEVNULL, timeout=60, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            s.fail(f'window_probe toolbar {index} did not answer within 60 s')
        out.seek(0)
        s.check(result.returncode == 0, f'toolbar button {index}: {out.read().decode("utf-8", errors="replace").strip()}')


def wait_panels(s, probe, expected, timeout=60):
    deadline = time.monotonic() + timeout
    seen = None
    while time.monotonic() < deadline:
        seen = status_panels(s, probe)
        if seen == expected:
            return
        time.sleep(0.3)
    s.fail(f'the viewer\'s status bar read {seen!r}, expected {expected!r} within {timeout} s')


def split_command(command):
    """A Windows command line of a program and its arguments, quotes removed."""
    parts, rest = [], command.strip()
    while rest:
        if rest.startswith('"'):
            end = rest.find('"', 1)
            end = len(rest) if end < 0 else end
            parts.append(rest[1:end])
            rest = rest[end + 1:].lstrip()
        else:
            end = rest.find(' ')
            end = len(rest) if end < 0 else end
            parts.append(rest[:end])
            rest = rest[end:].lstrip()
    return parts


# -- the steps ----------------------------------------------------------------------------
def prepare(s):
    """A prefix without traces of an earlier run of the sample (a demo stopped half-way leaves
    them), with windows the harness can place. What it removes is printed."""
    wine(s, 'reg', 'add', 'HKCU\\Software\\Wine\\X11 Driver', '/v', 'Managed', '/d', 'N', '/f')
    removed = []
    # A viewer that an earlier run's install started and that run never closed is still in the
    # prefix: its own version dialog, under the very title this run waits for, would outlive
    # this run's OK. The programs owning such windows are ended first.
    for title in (VERSION_TITLE, VIEWER_TITLE):
        ended = s.driver('end-process', '--title', title, '--class', 'PaginaForm', '--hidden', check=False).split()
        if ended:
            removed.append(f'the program of the window {title} (process {", ".join(ended)})')
    app = host_path(s, APP)
    if os.path.exists(app):
        shutil.rmtree(app)
        removed.append(APP)
    for kind, name, _, _ in SHORTCUTS:
        path = os.path.join(user_folder(s, kind), *name.split('\\'))
        if os.path.exists(path):
            os.remove(path)
            removed.append(f'{kind}\\{name}')
    group = os.path.join(user_folder(s, 'Programs'), 'Pagina Viewer')
    if os.path.isdir(group) and not os.listdir(group):
        os.rmdir(group)
    for key in (ENTRY, 'HKCU\\Software\\Pagina', 'HKCR\\.pgd', 'HKCR\\pgd_auto_file'):
        if reg_values(s, key) is not None:
            wine(s, 'reg', 'delete', key, '/f')
            removed.append(key)
    windows = os.path.join(s.prefix, 'drive_c', 'windows')
    unvoset = os.path.join(windows, 'UNVOSET.EXE')
    if os.path.exists(unvoset):
        os.remove(unvoset)  # so that the install is seen to put it there
        removed.append('C:\\windows\\UNVOSET.EXE')
    voset = os.path.join(windows, 'VOSET98.INI')
    if os.path.isfile(voset):
        with open(voset, 'rb') as f:
            text = f.read().decode('cp932')
        kept, skipping = [], False
        for line in text.split('\r\n'):
            if line.startswith('['):
                skipping = line.lower() == '[paginaviewer]'
            if not skipping:
                kept.append(line)
        if len(kept) != len(text.split('\r\n')):
            with open(voset, 'wb') as f:
                f.write('\r\n'.join(kept).encode('cp932'))
            removed.append('[PaginaViewer] of VOSET98.INI')
    if removed:
        s.log('removed traces of an earlier run: ' + ', '.join(removed))


def install(s, medium):
    """The install from disk 1 with the default answers; disk 2 is put into drive D: when asked."""
    disk1, disk2 = os.path.join(medium, 'DISK1'), os.path.join(medium, 'DISK2')
    s.map_drive('d', disk1)
    proc = s.start('D:\\SETUP.EXE', cwd=disk1)
    s.wait_window(title_contains=SETUP_TITLE, cls='PaginaForm', timeout=120)
    s.wait_text(SETUP_TITLE, ['--text', 'セットアップ続行(&C)'], 'セットアップ続行(&C)', timeout=60)
    s.screenshot('readme-page')
    s.click(SETUP_TITLE, 'セットアップ続行(&C)')
    s.wait_text(SETUP_TITLE, ['--text', 'セットアップ開始(&S)'], 'セットアップ開始(&S)')
    folder = s.get_text(SETUP_TITLE, '--control-id', '101')
    s.check(folder == APP, f'the proposed setup folder is {folder!r}, expected {APP!r}')
    s.screenshot('settings-page')
    s.click(SETUP_TITLE, 'セットアップ開始(&S)')
    question = s.answer_box('フォルダ作成', IDYES, timeout=120)
    s.check(question.startswith(APP), f'the folder question said {question!r}')
    time.sleep(1.0)  # a few files into the copy at 150 ms a file
    s.screenshot('progress-mid-copy')

    s.wait_window(title_contains='ディスク交換', timeout=180)
    s.screenshot('disk-question')
    s.map_drive('d', disk2)
    s.log(f'drive D: now holds disk 2 ({disk2})')
    asked = s.answer_box('ディスク交換', IDOK)
    s.check(asked == DISK_QUESTION, f'the disk question said {asked!r}')

    relate = s.answer_box('関連付けの確認', IDYES, timeout=180)
    s.check(relate.replace('\r\n', '\r') == '拡張子 *.pgd を\r' + APP + 'PaginaV1.exe\rに関連付けします．よろしいですか？',
            f'the association question said {relate!r}')
    s.wait_window(title_contains='完了', timeout=120)
    s.screenshot('completion-box')
    done = s.answer_box('完了', IDOK)
    s.check(done.replace('\r\n', '\r').startswith('セットアップが完了しました．'), f'the completion box said {done!r}')
    code = s.wait_exit(proc, timeout=120, what='setup.exe')
    s.check(code == 0, f'setup.exe ended with {code}')


def view_book(s, probe):
    """The viewer that the install started: the version dialog of its first start (no options
    profile yet), the sample book's first page, a few turned pages, close. Returns the faults seen
    on the way that do not stop the demo, as texts."""
    faults = []
    about = VERSION_TITLE
    s.driver('wait-window', '--title', about, '--timeout', '120', timeout=180)
    s.screenshot('viewer-version-dialog')
    s.click(about, 'OK')
    s.driver('wait-window', '--title', VIEWER_TITLE, '--class', 'PaginaForm', '--timeout', '120', timeout=180)
    wait_panels(s, probe, [BOOK_TITLE, '1page'])
    s.driver('wait-gone', '--title', about, '--timeout', '10', timeout=70, check=False)
    if s.last_driver[0] != 0:
        faults.append('the version dialog stayed on the screen after its OK button, while the main window works')
        s.log('wait-gone: ' + s.last_driver[2].strip())
        # Which windows and which viewer processes are there, to tell a stuck dialog from a second instance.
        s.log('windows: ' + s.driver('list-windows', '--hidden', check=False).replace('\n', ' | '))
        ps = subprocess.run(['ps', '-eo', 'pid,ppid,args'], capture_output=True, text=True, errors='replace')
        s.log('processes: ' + ' | '.join(l.strip() for l in ps.stdout.splitlines() if 'paginav1' in l.lower()))
    s.screenshot('viewer-sample-book')
    for expected in ('2page', '3page', '4page'):
        press_tool(s, probe, TOOL_FORWARD)
        wait_panels(s, probe, [BOOK_TITLE, expected])
    s.screenshot('viewer-turned-page')
    press_tool(s, probe, TOOL_BACK)
    wait_panels(s, probe, [BOOK_TITLE, '3page'])
    press_tool(s, probe, TOOL_LAST)
    wait_panels(s, probe, [BOOK_TITLE, '24page'])  # a page that came from disk 2
    s.screenshot('viewer-last-page')
    s.driver('menu', '--window-title', VIEWER_TITLE, '--path', 'ファイル(&F)/終了(&X)')
    s.driver('wait-gone', '--title', VIEWER_TITLE, '--class', 'PaginaForm', '--timeout', '60', timeout=120)
    return faults


def uninstall_command(s):
    values = reg_values(s, ENTRY)
    s.check(values is not None and 'UninstallString' in values, f'no UninstallString under {ENTRY}: {values!r}')
    return values['UninstallString'][1]


def uninstall(s):
    """The uninstall as the system's program list starts it, with the default options."""
    command = uninstall_command(s)
    s.log(f'UninstallString: {command}')
    parts = split_command(command)
    proc = s.start(parts[0], *parts[1:])
    s.driver('wait-window', '--title', UNSETUP_TITLE, '--class', 'PaginaForm', '--timeout', '120', timeout=180)
    s.wait_text(UNSETUP_TITLE, ['--text', 'アンセットアップ開始(&S)'], 'アンセットアップ開始(&S)', timeout=60)
    folder = s.get_text(UNSETUP_TITLE, '--control-id', '101')
    s.check(folder == APP, f'the uninstall folder box shows {folder!r}')
    s.screenshot('uninstall-page')
    s.click(UNSETUP_TITLE, 'アンセットアップ開始(&S)')
    s.wait_window(title_contains='完了', timeout=180)
    s.screenshot('uninstall-completion')
    message = s.answer_box('完了', IDOK)
    s.check(message == 'アンセットアップを完了しました．', f'the uninstall completion said {message!r}')
    code = s.wait_exit(proc, timeout=120, what='the uninstaller')
    s.check(code == 0, f'the uninstaller ended with {code}')


# -- what the machine holds ---------------------------------------------------------------
def association(s):
    return {key: reg_values(s, 'HKCR\\' + key) for key in
            ('.pgd', 'pgd_auto_file', 'pgd_auto_file\\DefaultIcon', 'pgd_auto_file\\shell\\open\\command')}


def voset_sections(s):
    path = os.path.join(s.prefix, 'drive_c', 'windows', 'VOSET98.INI')
    return read_profile(path) if os.path.isfile(path) else None


def install_summary(s):
    lines = ['Installed:']
    app = host_path(s, APP)
    count = sum(len(f) for _, _, f in os.walk(app))
    lines.append(f'  {APP}: {count} files (PaginaV1.exe, toolbar.bmp, PaginaV1.bmp, help.htm, README.TXT, setup-info.ini, UNSETUP.INI, '
                 f'Book\\ with {len(BOOK_FILES)}, Book\\Bitmap\\ with {len(BITMAP_FILES)})')
    for kind, name, _, _ in SHORTCUTS:
        path = os.path.join(user_folder(s, kind), *name.split('\\'))
        info = lnk_info(path) if os.path.isfile(path) else {}
        target = info.get('Local path', '(missing)')
        args = info.get('Command line arguments', '')
        lines.append(f'  shortcut {kind}\\{name} -> {target} {args}'.rstrip())
    for key, values in association(s).items():
        lines.append(f'  HKCR\\{key} = {values.get("") if values else None}')
    for name, value in (reg_values(s, USER_KEY) or {}).items():
        lines.append(f'  {USER_KEY} {name} = {value[1]} ({value[0]})')
    entry = reg_values(s, ENTRY) or {}
    lines.append(f'  Uninstall entry: {entry.get("DisplayName", ("", "(none)"))[1]} / '
                 f'{entry.get("UninstallString", ("", "(none)"))[1]}')
    record = host_path(s, APP + 'UNSETUP.INI')
    if os.path.isfile(record):
        sections = read_profile(record)
        lines.append('  record UNSETUP.INI: ' + ', '.join(f'[{name}] {len(entries)}' for name, entries in sections))
    voset = voset_sections(s)
    lines.append(f'  VOSET98.INI: {voset!r}')
    return '\n'.join(lines)


def leftover_summary(s):
    windows = os.path.join(s.prefix, 'drive_c', 'windows')
    lines = ['After the uninstall:']
    lines.append(f'  {APP}: {"still there" if os.path.exists(host_path(s, APP)) else "gone"}')
    lines.append(f'  C:\\windows\\UNVOSET.EXE: {"kept" if os.path.isfile(os.path.join(windows, "UNVOSET.EXE")) else "gone"}')
    lines.append(f'  VOSET98.INI: {voset_sections(s)!r}')
    for kind, name, _, _ in SHORTCUTS:
        path = os.path.join(user_folder(s, kind), *name.split('\\'))
        lines.append(f'  shortcut {kind}\\{name}: {"still there" if os.path.exists(path) else "gone"}')
    lines.append(f'  HKCR\\.pgd: {association(s)[".pgd"]!r}')
    user_keys = reg_values(s, 'HKCU\\Software\\Pagina')
    lines.append(f'  HKCU\\Software\\Pagina: {user_keys!r}')
    lines.append(f'  Uninstall entry: {reg_values(s, ENTRY)!r}')
    return '\n'.join(lines)


# -- the command --------------------------------------------------------------------------
def find_medium(build):
    disk1 = os.path.join(build, 'medium', 'DISK1')
    ok = all(os.path.isfile(os.path.join(build, 'medium', d, 'SETUP.EXE')) for d in ('DISK1', 'DISK2'))
    return os.path.join(build, 'medium') if ok and os.path.isfile(os.path.join(disk1, 'PaginaV1.exe')) else None


def interactive(s, medium):
    """A person clicks; the script only changes the disk in drive D: when the installer asks."""
    disk1, disk2 = os.path.join(medium, 'DISK1'), os.path.join(medium, 'DISK2')
    s.map_drive('d', disk1)
    proc = s.start('D:\\SETUP.EXE', cwd=disk1)
    print('demo: setup.exe is running on your screen (drive D: = disk 1); the script puts disk 2 into D: '
          'when the installer asks for it', flush=True)
    swapped = False
    while proc.poll() is None:
        if not swapped:
            s.driver('wait-window', '--title-contains', 'ディスク交換', '--timeout', '2', timeout=60, check=False)
            if s.last_driver[0] == 0:
                s.map_drive('d', disk2)
                swapped = True
                print(f'demo: the installer asks for disk 2: drive D: now points to {disk2}; press OK', flush=True)
                continue
        time.sleep(1)
    print(f'demo: setup.exe ended with {proc.returncode}', flush=True)
    if reg_values(s, ENTRY) is not None:
        print(install_summary(s))
        print(f'demo: to uninstall, run: wine {uninstall_command(s)}  (WINEPREFIX={s.prefix})')
    return proc.returncode


def headless(s, medium, probe):
    prepare(s)
    install(s, medium)
    summary = install_summary(s)
    faults = view_book(s, probe)
    uninstall(s)
    print(summary)
    print(leftover_summary(s))
    for fault in faults:
        print(f'demo: FAULT: {fault}')
    print(f'demo: screenshots in {s.artifacts}:')
    for name in sorted(os.listdir(s.artifacts)):
        if name.endswith('.png'):
            print(f'  {name}')
    return 0


def main():
    build = os.path.abspath(sys.argv[1])
    medium = find_medium(build)
    probe = os.path.join(build, 'tests', 'e2e', 'demo', 'window_probe.exe')
    if medium is None:
        print('demo: the sample medium is not built (target sample_medium)', file=sys.stderr)
        return 1
    use_screen = bool(os.environ.get('DISPLAY')) and os.environ.get('PAGINA_DEMO_HEADLESS') != '1'
    if not use_screen:
        os.environ.pop('DISPLAY', None)
    session = pagina_e2e.WineSession('demo', build_dir=build,
                                     windriver=os.path.join(build, 'tools', 'windriver', 'windriver.exe'))
    try:
        with session as s:
            if use_screen:
                return interactive(s, medium)
            if not os.path.isfile(probe):
                s.fail(f'{probe} is not built (target window_probe)')
            return headless(s, medium, probe)
    finally:
        if not use_screen:
            subprocess.run([os.path.join(pagina_e2e.ROOT, 'tools', 'wine-prefix'), 'stop', session.prefix],
                           env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == '__main__':
    try:
        sys.exit(main())
    except pagina_e2e.E2EFailure as e:
        print(f'demo: {e}', file=sys.stderr)
        sys.exit(1)
