// The live viewer end to end in headless Chromium: a person's session on the page, its recording
// replayed by `torvane-sim run`, and the time from a pointer release to the changed picture.
//
//   node viewer.test.mjs TORVANE_SIM [SHOTS_FOLDER]
// Exit 77 (skipped) only when Chromium or the npm packages are not installed.
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, mkdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const chromiumPath = '/usr/bin/chromium';
const torvaneSim = process.argv[2];
const shots = process.argv[3] || '/tmp/viewer-shots';

if (!existsSync(chromiumPath)) {
  console.log('SKIP: no ' + chromiumPath);
  process.exit(77);
}
let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {
  console.log('SKIP: playwright-core is not installed (scripts/deps runs npm ci in tests/viewer)');
  process.exit(77);
}

const work = mkdtempSync(join(tmpdir(), 'torvane-viewer-test-'));
const recording = join(work, 'session.scn');
let viewer;
let context;
const failures = [];

function check(condition, what) {
  if (!condition) {
    failures.push(what);
    console.log('FAILED: ' + what);
  } else {
    console.log('ok: ' + what);
  }
}

async function until(what, probe, seconds = 10) {
  const end = Date.now() + seconds * 1000;
  let last;
  while (Date.now() < end) {
    last = await probe();
    if (last)
      return last;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error('timed out waiting for ' + what);
}

// The views of a hierarchy dump, with their frames in screen points.
// Hidden views and everything under them are not on screen.
function* views(node, origin = [0, 0], ancestors = []) {
  if (node.hidden || node.alpha === 0)
    return;
  const frame = [node.frame[0] + origin[0], node.frame[1] + origin[1], node.frame[2], node.frame[3]];
  yield { node, frame, ancestors };
  for (const sub of node.subviews || [])
    yield* views(sub, node.class.endsWith('Window') ? [frame[0], frame[1]] : origin, [...ancestors, node]);
}

try {
  viewer = spawn(torvaneSim, ['view', '--port', '0', '--record', recording], { stdio: ['ignore', 'pipe', 'inherit'] });
  let output = '';
  viewer.stdout.on('data', (chunk) => { output += chunk; process.stdout.write(chunk); });
  const base = await until('the viewer\'s address', () => (output.match(/http:\/\/127\.0\.0\.1:\d+\//) || [])[0], 60);
  const device = (output.match(/device at ([^)]+)\)/) || [])[1];

  const api = async (path) => (await fetch(base + path)).json();
  const dump = async (target) => (await api('api/dump?target=' + target)).dump;
  const hierarchy = async (screen) => (await api('api/dump?target=hierarchy&screen=' + screen)).dump;
  async function find(screen, predicate) {
    const tree = await hierarchy(screen);
    let found = null;
    for (const window of tree.windows)
      for (const view of views(window))
        if (predicate(view.node, view))
          found = view; // the last one is the front-most
    return found;
  }

  context = await chromium.launchPersistentContext(join(work, 'profile'), {
    executablePath: chromiumPath,
    headless: true,
    viewport: { width: 1400, height: 760 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  const page = context.pages()[0] || await context.newPage();
  await page.goto(base);
  await page.waitForFunction(() => window.viewer.framesShown.springboard > 0 && window.viewer.framesShown.settings > 0 && window.viewer.state);
  check(true, 'the page shows both screens');

  async function pointAt(screen, frame) {
    const box = await page.locator(`.screen[data-screen=${screen}]`).boundingBox();
    return [box.x + frame[0] + frame[2] / 2, box.y + frame[1] + frame[3] / 2];
  }
  const shown = () => page.evaluate(() => ({ ...window.viewer.framesShown }));
  const latencies = () => page.evaluate(() => window.viewer.latencies.slice());

  // 2. Maps from the controls, then a finger up its icon once the indicator shows.
  await page.selectOption('#app', 'com.apple.Maps');
  await page.fill('#mb', '40');
  await page.click('#launch');
  await page.waitForFunction(() => {
    const icon = window.viewer.state.springboard.icons['com.apple.Maps'];
    return icon.state === 4 && icon.indicator && icon.indicator.alpha > 0.99;
  });
  check(true, 'Maps runs and its indicator shows');
  const mapsIcon = await find('springboard', (node) => node.class === 'SBIconView' && node.label === 'Maps');
  console.log('Maps icon at ' + JSON.stringify(mapsIcon.frame));
  const [x, y] = await pointAt('springboard', mapsIcon.frame);
  const before = await shown();
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (let step = 1; step <= 8; ++step)
    await page.mouse.move(x, y - step * 5);
  await page.mouse.up();

  // 3. The alert: in the state panel, in the driver's dump and in a new picture.
  await page.waitForFunction(() => window.viewer.state.springboard.alerts.length === 1, null, { timeout: 10000 });
  const alert = (await dump('springboard')).alerts[0];
  check(alert && alert.buttons.includes('Kill'), 'the swipe raised the kill alert: ' + JSON.stringify(alert));
  await page.waitForFunction((title) => document.getElementById('state').textContent.includes(title), alert.title);
  check(true, 'the state panel shows the alert');
  // The add-on acts while the finger moves, so the picture changes before the release.
  await until('a new picture', async () => (await shown()).springboard > before.springboard);
  check(true, 'the picture changed under the finger');
  await new Promise((resolve) => setTimeout(resolve, 400)); // the alert's fade-in
  mkdirSync(shots, { recursive: true });
  await page.screenshot({ path: join(shots, 'kill-alert.png') });

  // 4. Kill, clicked in the picture.
  const kill = await find('springboard', (node) => node.label === 'Kill' && /Button/.test(node.class));
  check(kill, 'the alert has a Kill button on screen');
  const killsBefore = (await latencies()).length;
  await page.mouse.click(...await pointAt('springboard', kill.frame));
  const ended = await until('Maps to end', async () => {
    const state = await dump('springboard');
    return !state.running.includes('com.apple.Maps') && state.icons['com.apple.Maps'].pid === null && state.alerts.length === 0 ? state : null;
  });
  check(ended, 'Maps ended, in the driver\'s dump');
  await until('the picture after Kill', async () => (await latencies()).length > killsBefore);

  // 5. Settings: open the pane, flip a switch with a click.
  await page.click('text=Open Torvane settings');
  await until('the pane', async () => (await dump('settings')).stack.includes('DashmereDelegate'));
  for (let round = 0; round < 3; ++round) {
    // A one-time notice of the pane is answered as a person would.
    const notice = (await dump('settings')).alerts;
    if (!notice.length)
      break;
    const button = await find('settings', (node) => node.label === notice[notice.length - 1].buttons[0] && /Button/.test(node.class));
    await page.mouse.click(...await pointAt('settings', button.frame));
    await new Promise((resolve) => setTimeout(resolve, 300));
  }
  const prefsBefore = await dump('prefs');
  // A drag on the list scrolls it to the switches below.
  {
    const [sx, sy] = await pointAt('settings', [0, 0, 320, 480]);
    await page.mouse.move(sx, sy + 180);
    await page.mouse.down();
    for (let step = 1; step <= 10; ++step)
      await page.mouse.move(sx, sy + 180 - step * 20);
    await page.mouse.up();
    await new Promise((resolve) => setTimeout(resolve, 1000));
  }
  // The first switch fully on screen, and the preference its row writes.
  const keys = { MoveImageID: 'MoveImageAboveIcon', ConfirmationHomeID: 'ConfirmationAlertAtHome', DashmereID: 'DashmereOnAppSwitcher',
    ShowOnDockID: 'DisableOnDock', LowSensitivityID: 'LowerSensitivity', ClearBadgeID: 'ClearBadgeEnabled', AlertToClearBadgeID: 'AlertToClearBadge' };
  const rows = (await dump('settings')).rows.filter((row) => keys[row.id] && row.enabled);
  let key = null;
  const toggle = await find('settings', (node, view) => {
    if (key || node.class !== 'UISwitch' || view.frame[1] < 64 || view.frame[1] + view.frame[3] > 480)
      return false;
    const cell = view.ancestors.findLast((ancestor) => /Cell/.test(ancestor.class));
    const row = cell && rows.find((each) => each.text === cell.label);
    if (row)
      key = keys[row.id];
    return !!row;
  });
  check(toggle, 'a switch is on screen: ' + key);
  const clicksBefore = (await latencies()).length;
  await page.mouse.click(...await pointAt('settings', toggle.frame));
  const prefs = await until('the preference', async () => {
    const now = await dump('prefs');
    return now[key] === !prefsBefore[key] ? now : null;
  });
  check(prefs, 'the switch wrote ' + key + ' = ' + prefs[key] + ' into the preferences file');
  await until('the switch\'s picture', async () => (await latencies()).length > clicksBefore);
  await new Promise((resolve) => setTimeout(resolve, 400));
  await page.screenshot({ path: join(shots, 'settings-open.png') });

  // 6. Mark what shows, end the viewer, replay the recording on a fresh device.
  await page.click('#mark');
  await page.waitForFunction(() => window.viewer.recorded.some((line) => line.startsWith('expect prefs')));
  const measured = await latencies();
  viewer.kill('SIGINT');
  const status = await new Promise((resolve) => viewer.on('exit', (code) => resolve(code)));
  viewer = null;
  check(status === 0, 'Ctrl-C ends the viewer (status ' + status + ')');
  check(device && !existsSync(device), 'the device folder is removed');
  const scenario = readFileSync(recording, 'utf8');
  console.log('--- recorded ---\n' + scenario + '----------------');
  check(/^swipe up Maps by /m.test(scenario), 'the drag on the icon was recorded as a swipe');
  check(/^tap settings /m.test(scenario) && /^launch com\.apple\.Maps mb 40$/m.test(scenario), 'taps and controls were recorded');
  const replay = spawnSync(torvaneSim, ['run', recording], { encoding: 'utf8' });
  console.log(replay.stdout + replay.stderr);
  check(replay.status === 0, 'torvane-sim run replays the recording green (status ' + replay.status + ')');

  const sorted = measured.slice().sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)];
  console.log(`release-to-picture latency: ${measured.map((ms) => ms.toFixed(1)).join(', ')} ms; median ${median.toFixed(1)} ms, worst ${sorted[sorted.length - 1].toFixed(1)} ms`);
  // The goal is 50 ms (bench figures in the README); the bound leaves room for a loaded machine.
  check(median < 500, 'a release shows its picture within 500 ms (median)');
} catch (error) {
  failures.push(String(error && error.stack || error));
  console.log('FAILED: ' + (error && error.stack || error));
} finally {
  if (context)
    await context.close().catch(() => {});
  if (viewer) {
    viewer.kill('SIGINT');
    await new Promise((resolve) => setTimeout(resolve, 3000));
  }
  rmSync(work, { recursive: true, force: true });
}
process.exit(failures.length ? 1 : 0);
