"""The demo behind tools/demo: starts setup.exe from the sample medium under Wine."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pagina_e2e  # noqa: E402


def find_medium(build):
    """Disk 1 of the medium laid out by the build, or the checked-in script with setup.exe beside it."""
    disk1 = os.path.join(build, 'medium', 'DISK1')
    if os.path.isfile(os.path.join(disk1, 'SETUP.EXE')):
        return disk1
    setup = os.path.join(build, 'setup', 'main', 'setup.exe')
    source = os.path.join(pagina_e2e.ROOT, 'samples', 'medium')
    if not (os.path.isfile(setup) and os.path.isdir(source)):
        return None
    staged = os.path.join(build, 'demo-medium')
    shutil.rmtree(staged, ignore_errors=True)
    shutil.copytree(source, staged)
    shutil.copy(setup, os.path.join(staged, 'SETUP.EXE'))
    return staged


def main():
    build = os.path.abspath(sys.argv[1])
    medium = find_medium(build)
    if medium is None:
        print('demo: setup.exe or the sample medium is not built yet; nothing to start', file=sys.stderr)
        return 1
    interactive = bool(os.environ.get('DISPLAY'))
    session = pagina_e2e.WineSession('demo', build_dir=build,
                                     windriver=os.path.join(build, 'tools', 'windriver', 'windriver.exe'))
    with session as s:
        s.map_drive('d', medium)
        proc = s.start('D:\\SETUP.EXE', cwd=medium)
        if interactive:
            print('demo: setup.exe is running on your screen; close it to end the demo')
            return s.wait_exit(proc, timeout=24 * 3600, what='setup.exe')
        s.wait_window(cls='TfrmMain', timeout=120)
        shot = s.screenshot('setup-main-window')
        print(f'demo: the installer is up; screenshot in {shot}')
        print(s.driver('list-windows'))
    return 0


if __name__ == '__main__':
    try:
        sys.exit(main())
    except pagina_e2e.E2EFailure as e:
        print(f'demo: {e}', file=sys.stderr)
        sys.exit(1)
