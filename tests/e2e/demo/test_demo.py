"""The demo's unattended path: the two-disk sample medium installed by setup.exe (read-me page,
settings page, folder question, disk change, association question, completion), the viewer the
install starts showing the sample book and turning pages, and the uninstall through the Uninstall
entry. Checks the machine after the install (files byte for byte, shortcuts read back from the
.lnk files, association keys, registry values, the profile entries, the record UNSETUP.INI and
VOSET98.INI) and after the uninstall (only the documented leftovers remain)."""
import os
import subprocess

import demo
import pagina_e2e

SETUP = os.environ.get('PAGINA_SETUP_EXE')
VIEWER = os.environ.get('PAGINA_VIEWER_EXE')
PROBE = os.environ.get('PAGINA_WINDOW_PROBE')
APP = demo.APP
VIEWER_DIR = os.path.dirname(VIEWER) if VIEWER else ''
HELP = os.path.join(VIEWER_DIR, 'help.htm')  # CP932, as the viewer build leaves it


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def make_medium(s):
    out = os.path.join(s.build_dir, 'tests', 'e2e', 'demo', 'medium')
    result = subprocess.run([os.path.join(s.source_dir, 'samples', 'make-medium'), '--setup', SETUP, '--viewer', VIEWER,
                             '--help', HELP, '--out', out],
                            capture_output=True, timeout=600)
    s.check(result.returncode == 0, f'make-medium failed: {result.stderr.decode(errors="replace")}')
    return out


def check_files(s, medium):
    disk1, disk2 = os.path.join(medium, 'DISK1'), os.path.join(medium, 'DISK2')
    # Installed file, the file it must equal byte for byte.
    sources = {'PaginaV1.exe': VIEWER, 'help.htm': HELP, 'toolbar.bmp': os.path.join(VIEWER_DIR, 'toolbar.bmp'),
               'PaginaV1.bmp': os.path.join(VIEWER_DIR, 'PaginaV1.bmp'),
               'README.TXT': os.path.join(disk1, 'README.TXT')}
    for n in range(1, 25):
        sources[f'Book\\sample{n:03d}.jpg'] = os.path.join(disk1 if n <= 12 else disk2, f'sample{n:03d}.jpg')
    sources['Book\\sample.pgd'] = os.path.join(disk1, 'sample.pgd')
    for name in demo.BITMAP_FILES:
        sources['Book\\Bitmap\\' + name] = os.path.join(disk2, name)
    for name, source in sources.items():
        path = demo.host_path(s, APP + name)
        s.check(os.path.isfile(path), f'{APP}{name} was not installed')
        s.check(read(path) == read(source), f'{APP}{name} differs from {source}')
    expected = {name.replace('\\', os.sep) for name in sources} | {'setup-info.ini', 'UNSETUP.INI'}
    app = demo.host_path(s, APP)
    present = {os.path.relpath(os.path.join(d, f), app) for d, _, files in os.walk(app) for f in files}
    s.check(present == expected, f'setup folder holds unexpected files {sorted(present - expected)} '
                                 f'or lacks {sorted(expected - present)}')
    s.check(not os.path.exists(os.path.join(app, 'AUTO.EXT')), 'the placeholder name AUTO.EXT was installed')
    s.check(read(os.path.join(app, 'setup-info.ini')).decode('cp932') ==
            '[Install]\r\nFolder=' + APP + '\r\nSampleBook=' + APP + 'Book\\sample.pgd\r\n',
            f'setup-info.ini reads {read(os.path.join(app, "setup-info.ini"))!r}')


def check_shortcuts(s):
    for kind, name, target, args in demo.SHORTCUTS:
        path = os.path.join(demo.user_folder(s, kind), *name.split('\\'))
        s.check(os.path.isfile(path), f'shortcut {kind}\\{name} missing')
        info = demo.lnk_info(path)
        s.check(info['rc'] == 0, f'lnkinfo cannot read {path}')
        s.check(info.get('Local path', '').lower() == target.lower(), f'{name} points to {info.get("Local path")!r}')
        s.check(info.get('Command line arguments', '') == args, f'{name} has arguments {info.get("Command line arguments")!r}')


def check_registry(s):
    a = demo.association(s)
    expected = {'.pgd': 'pgd_auto_file', 'pgd_auto_file': 'Pagina ブックデータ',
                'pgd_auto_file\\DefaultIcon': APP + 'PaginaV1.exe,0',
                'pgd_auto_file\\shell\\open\\command': '"' + APP + 'PaginaV1.exe" "%1"'}
    for key, value in expected.items():
        s.check(a[key] is not None and a[key].get('', (None, None))[1] == value, f'HKCR\\{key} holds {a[key]!r}, expected {value!r}')
    values = demo.reg_values(s, demo.USER_KEY)
    s.check(values == {'InstallFolder': ('REG_SZ', APP.rstrip('\\')), 'Version': ('REG_SZ', '1.1.3'),
                       'SamplePages': ('REG_DWORD', '0x18')}, f'{demo.USER_KEY} holds {values!r}')
    entry = demo.reg_values(s, demo.ENTRY)
    s.check(entry is not None and entry.get('DisplayName', (None, None))[1] == 'Pagina Viewer 1.1 (画像ブックビューア)',
            f'Uninstall entry: {entry!r}')
    command = demo.split_command(entry['UninstallString'][1])
    s.check([c.lower() for c in command] == ['c:\\windows\\unvoset.exe', (APP + 'UNSETUP.INI').lower()],
            f'UninstallString is {entry["UninstallString"][1]!r}')


def check_record(s):
    files = ['PaginaV1.exe', 'toolbar.bmp', 'PaginaV1.bmp', 'help.htm', 'README.TXT', 'Book\\sample.pgd'] + \
        [f'Book\\sample{n:03d}.jpg' for n in range(1, 25)] + ['Book\\Bitmap\\' + f for f in demo.BITMAP_FILES] + ['UNSETUP.INI']
    shortcuts = [demo.user_windows_path(s, kind, name) for kind, name, _, _ in demo.SHORTCUTS]
    expected = [
        ('Information', [('Message1', 'Vornik Setup 98 UnSetup(UnInstall) Initialize File'),
                         ('Message2', '！！！　警告　！！！'),
                         ('Message3', 'このファイルをエディタなどで書き換えたり，削除しないでください．'),
                         ('Message4', '書き換えた場合，アンセットアップ動作の保証はできません．')]),
        ('Title', [('UnSetup', 'Pagina Viewer')]),
        ('SetupFolder', [('Folder', APP)]),
        ('DeleteFolder', [('Folder1', APP + 'Book\\'), ('Folder2', APP + 'Book\\Bitmap\\')]),
        ('DeleteFile', [(f'File{i}', APP + f) for i, f in enumerate(files, 1)]),
        ('DeleteShortCut', [(f'File{i}', p) for i, p in enumerate(shortcuts, 1)]),
        ('DeleteRegistry', [('Key1', '(Cuser)Software\\Pagina')]),
        ('RestoreRelate', [('Key1', 'pgd,')]),
        ('UnSetupOption', [('CheckBox', '1,1,0,0')]),
        ('UnSetupRegistryKey', [('Key', 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PaginaViewer')]),
        ('ProgramID', [('ID', 'PaginaViewer')]),
    ]
    record = demo.read_profile(demo.host_path(s, APP + 'UNSETUP.INI'))
    for (name, entries), (got_name, got) in zip(expected, record):
        s.check(name == got_name and [(k, v.lower()) for k, v in entries] == [(k, v.lower()) for k, v in got],
                f'record section [{got_name}] reads {got!r}, expected [{name}] {entries!r}')
    s.check(len(record) == len(expected), f'record has sections {[n for n, _ in record]}')
    s.check(demo.voset_sections(s) is not None and ('PaginaViewer', [('Folder', APP)]) in demo.voset_sections(s),
            f'VOSET98.INI reads {demo.voset_sections(s)!r}')
    s.check(os.path.isfile(os.path.join(s.prefix, 'drive_c', 'windows', 'UNVOSET.EXE')), 'no uninstaller copy UNVOSET.EXE')


def check_leftovers(s):
    """Only the documented leftovers stay: the uninstaller copy UNVOSET.EXE and the program registry
    profile VOSET98.INI (without the program's section). Everything else of the install is gone."""
    windows = os.path.join(s.prefix, 'drive_c', 'windows')
    app = demo.host_path(s, APP)
    s.check(not os.path.exists(app), f'{APP} stayed: {[f for _, _, f in os.walk(app)]}')
    s.check(os.path.isdir(demo.host_path(s, 'C:\\Program Files\\')), 'the Program Files folder went')
    for kind, name, _, _ in demo.SHORTCUTS:
        s.check(not os.path.exists(os.path.join(demo.user_folder(s, kind), *name.split('\\'))), f'shortcut {name} stayed')
    s.check(not os.path.exists(os.path.join(demo.user_folder(s, 'Programs'), 'Pagina Viewer')), 'the menu group stayed')
    s.check(os.path.isdir(demo.user_folder(s, 'Desktop')), 'the desktop folder went')
    for key, values in demo.association(s).items():
        s.check(values is None, f'HKCR\\{key} stayed: {values!r}')
    s.check(demo.reg_values(s, 'HKCU\\Software\\Pagina') is None, 'HKCU\\Software\\Pagina stayed')
    s.check(demo.reg_values(s, demo.ENTRY) is None, 'the Uninstall entry stayed')
    s.check(os.path.isfile(os.path.join(windows, 'UNVOSET.EXE')), 'the uninstaller copy UNVOSET.EXE went')
    sections = demo.voset_sections(s)
    s.check(sections is not None and all(name.lower() != 'paginaviewer' for name, _ in sections),
            f'VOSET98.INI reads {sections!r}')


def test():
    with pagina_e2e.WineSession('e2e_demo') as s:
        for what, path in (('setup.exe', SETUP), ('PaginaV1.exe', VIEWER), ('window_probe.exe', PROBE)):
            s.check(path and os.path.isfile(path), f'{what} missing: {path}')
        medium = make_medium(s)
        demo.prepare(s)
        demo.install(s, medium)
        check_files(s, medium)
        check_shortcuts(s)
        check_registry(s)
        check_record(s)
        faults = demo.view_book(s, PROBE)
        demo.uninstall(s)
        check_leftovers(s)
        s.check(not faults, 'the viewer: ' + '; '.join(faults))


if __name__ == '__main__':
    pagina_e2e.run(test)
