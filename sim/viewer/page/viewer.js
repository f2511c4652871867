// The live viewer's page: two screens fed by server-sent events, a pointer on them sent as a finger,
// the controls a screen does not show, and what the device logs and reports.
'use strict';

const viewer = {
  framesShown: { springboard: 0, settings: 0 },
  latencies: [],     // ms from a pointer release to the first picture drawn after it
  state: null,
  recorded: [],
  logLines: 0,
};
window.viewer = viewer;

const $ = (id) => document.getElementById(id);

function say(text, isError) {
  const message = $('message');
  message.textContent = text;
  message.className = isError ? 'error' : '';
}

async function post(path, body) {
  const response = await fetch(path, {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify(body),
  });
  return response.json();
}

async function command(line) {
  say(line + ' …');
  const answer = await post('/api/command', { line });
  say(answer.ok ? line + ': ' + answer.message : answer.message, !answer.ok);
  return answer;
}
viewer.command = command;

// --- Frames -----------------------------------------------------------------------------------

const pendingRelease = {}; // screen -> { seq, at }
const newestShown = {};    // screen -> number of the newest frame on the page

function showFrame(frame) {
  const next = new Image();
  next.src = 'data:image/png;base64,' + frame.png;
  next.decode().then(() => {
    // A picture that finished decoding after a newer one is not shown over it.
    if (frame.frame <= (newestShown[frame.screen] || 0))
      return;
    newestShown[frame.screen] = frame.frame;
    // The decoded picture takes the shown one's place, rather than being decoded again as its source.
    const img = $('screen-' + frame.screen);
    for (const name of ['id', 'alt', 'draggable', 'width', 'height'])
      next.setAttribute(name, img.getAttribute(name));
    img.replaceWith(next);
    requestAnimationFrame(() => {
      viewer.framesShown[frame.screen] += 1;
      const waiting = pendingRelease[frame.screen];
      if (waiting && frame.input >= waiting.seq) {
        viewer.latencies.push(performance.now() - waiting.at);
        delete pendingRelease[frame.screen];
      }
    });
  }, () => {});
}

// --- The finger ---------------------------------------------------------------------------------

let sequence = 0;
let queued = [];
let sending = false;

// One request at a time, so phases arrive in order; what comes meanwhile goes in the next one.
async function flush() {
  if (sending || queued.length === 0)
    return;
  sending = true;
  const batch = queued;
  queued = [];
  try {
    await post('/api/input', batch);
  } catch (error) {
    say('input lost: ' + error, true);
  }
  sending = false;
  flush();
}

function send(screen, phase, event) {
  const rect = event.currentTarget.getBoundingClientRect();
  const x = (event.clientX - rect.left) * 320 / rect.width;
  const y = (event.clientY - rect.top) * 480 / rect.height;
  const seq = ++sequence;
  queued.push({ screen, phase, x: Math.round(x * 100) / 100, y: Math.round(y * 100) / 100, seq });
  if (phase === 'ended')
    pendingRelease[screen] = { seq, at: performance.now() };
  flush();
}

for (const element of document.querySelectorAll('.screen')) {
  const screen = element.dataset.screen;
  let down = false;
  element.addEventListener('pointerdown', (event) => {
    if (event.button !== 0)
      return;
    down = true;
    element.setPointerCapture(event.pointerId);
    send(screen, 'began', event);
    event.preventDefault();
  });
  element.addEventListener('pointermove', (event) => {
    if (down)
      send(screen, 'moved', event);
  });
  const lift = (event) => {
    if (!down)
      return;
    down = false;
    send(screen, 'ended', event);
  };
  element.addEventListener('pointerup', lift);
  element.addEventListener('pointercancel', lift);
}

// --- Controls -----------------------------------------------------------------------------------

for (const button of document.querySelectorAll('[data-command]'))
  button.addEventListener('click', () => command(button.dataset.command));

$('double-home').addEventListener('click', () => {
  const showing = viewer.state && viewer.state.springboard && viewer.state.springboard.switcher;
  command(showing ? 'switcher hide' : 'switcher show');
});

function selectedApp() {
  return $('app').value;
}

$('launch-form').addEventListener('submit', (event) => {
  event.preventDefault();
  if (selectedApp())
    command('launch ' + selectedApp() + ' mb ' + (Number($('mb').value) || 0));
});
$('quit').addEventListener('click', () => {
  if (selectedApp())
    command('quit ' + selectedApp());
});
$('badge-form').addEventListener('submit', (event) => {
  event.preventDefault();
  if (selectedApp())
    command('badge ' + selectedApp() + ' ' + Math.max(0, Math.floor(Number($('badge').value) || 0)));
});

const assigned = new Set();
$('activator-form').addEventListener('submit', async (event) => {
  event.preventDefault();
  const name = $('event').value.trim();
  if (!name || /\s/.test(name))
    return say('an event name is one word', true);
  if (!assigned.has(name)) {
    const answer = await command('activator assign ' + name);
    if (!answer.ok)
      return;
    assigned.add(name);
  }
  command('activator send ' + name);
});

$('mark').addEventListener('click', async () => {
  const answer = await post('/api/mark', {});
  say(answer.recording ? 'marked: ' + answer.lines.length + ' expect lines' : 'not recording (start with --record FILE.scn)');
});

// --- State ----------------------------------------------------------------------------------

function text(value) {
  return value === null || value === undefined ? '—' : String(value);
}

function alertsText(alerts) {
  return (alerts || []).map((alert) => '“' + text(alert.title) + '” ' + (alert.message ? text(alert.message) + ' ' : '') + '[' + (alert.buttons || []).join(' | ') + ']');
}

function renderState(state) {
  const springboard = state.springboard || {};
  const settings = state.settings || {};
  const rows = [];
  const add = (name, value, className) => rows.push([name, value, className]);
  const icons = springboard.icons || {};
  const nameOf = (id) => (icons[id] && icons[id].name) || id;
  add('running', (springboard.running || []).map(nameOf).join(', ') || 'none');
  const alerts = alertsText(springboard.alerts);
  add('alerts', alerts.length ? alerts.join('\n') : 'none', alerts.length ? 'alert' : '');
  if (springboard.popup)
    add('popup', text(springboard.popup.title) + '\n' + (springboard.popup.rows || []).map((row) => row.name + ' (' + row.memory + ')').join('\n'), 'alert');
  const indicators = Object.entries(icons).filter(([, icon]) => icon.indicator && icon.indicator.alpha > 0.01).map(([id, icon]) => icon.name + ' ' + Number(icon.indicator.alpha).toFixed(2));
  add('indicators', indicators.join(', ') || 'none');
  const flags = ['locked', 'switcher', 'editing'].filter((flag) => springboard[flag]);
  add('springboard', (flags.join(', ') || 'unlocked') + (springboard.openFolder ? ', folder ' + springboard.openFolder : ''));
  add('settings', (settings.stack || []).join(' › '));
  const settingsAlerts = alertsText(settings.alerts);
  if (settingsAlerts.length)
    add('settings alerts', settingsAlerts.join('\n'), 'alert');
  const switches = (settings.rows || []).filter((row) => typeof row.value === 'boolean').map((row) => row.text + ': ' + (row.value ? 'on' : 'off'));
  if (switches.length)
    add('switches', switches.join(', '));
  add('preferences', state.prefs ? JSON.stringify(state.prefs) : 'no file');

  const list = document.createElement('dl');
  for (const [name, value, className] of rows) {
    const term = document.createElement('dt');
    term.textContent = name;
    const detail = document.createElement('dd');
    detail.textContent = value;
    detail.style.whiteSpace = 'pre-line';
    if (className)
      detail.className = className;
    list.append(term, detail);
  }
  $('state').replaceChildren(list);

  // The application list of the controls follows the device's icons.
  const select = $('app');
  const chosen = select.value;
  const apps = Object.entries(icons).filter(([, icon]) => !icon.folder).sort((a, b) => a[1].name.localeCompare(b[1].name));
  const signature = apps.map(([id]) => id).join(',');
  if (select.dataset.signature !== signature) {
    select.replaceChildren(...apps.map(([id, icon]) => new Option(icon.name, id)));
    select.dataset.signature = signature;
    if (chosen)
      select.value = chosen;
  }
}

// --- The stream ---------------------------------------------------------------------------------

function connect() {
  // Pictures as sharp as this screen shows them, and no sharper: four times the pixels cost time.
  const events = new EventSource('/events?scale=' + (window.devicePixelRatio > 1 ? 2 : 1));
  events.onopen = () => {
    $('connection').textContent = 'connected';
    $('connection').className = 'on';
  };
  events.onerror = () => {
    $('connection').textContent = 'disconnected: the viewer ended or restarts';
    $('connection').className = 'off';
  };
  events.addEventListener('frame', (event) => showFrame(JSON.parse(event.data)));
  events.addEventListener('state', (event) => {
    viewer.state = JSON.parse(event.data);
    renderState(viewer.state);
  });
  events.addEventListener('log', (event) => {
    const log = $('log');
    const atBottom = log.scrollTop + log.clientHeight >= log.scrollHeight - 4;
    const lines = JSON.parse(event.data).lines;
    viewer.logLines += lines.length;
    log.append(document.createTextNode(lines.join('\n') + '\n'));
    // Keep the page light: the oldest lines go.
    while (log.childNodes.length > 400)
      log.removeChild(log.firstChild);
    if (atBottom)
      log.scrollTop = log.scrollHeight;
  });
  events.addEventListener('recording', (event) => {
    const line = JSON.parse(event.data).line;
    viewer.recorded.push(line);
    $('recording').hidden = false;
    const recorded = $('recorded');
    recorded.textContent += line + '\n';
    recorded.scrollTop = recorded.scrollHeight;
  });
  events.addEventListener('notice', (event) => say(JSON.parse(event.data).text, true));
}
connect();
