// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's window as a web page. The elements are built from the
// tables the bridge exports (the window's layout table and the decree's
// catalogue); every check, conversion, computation, report line and message
// comes from the C++ cores through the bridge. This script only moves texts
// between the elements and the bridge, the way the window's handlers do, and
// keeps the handlers' names: Button1Click, Edit1KeyUp, FormShow ...
'use strict';

(function () {
  let Bridge = null;  // the emscripten module
  let T = null;       // the tables
  const Rows = new Map();      // control name -> its row of the layout table
  const Controls = new Map();  // control name -> the element that takes the focus or holds the text
  const Nodes = new Map();     // control name -> the element placed in its parent
  const Numbers = {decimal: null, thousand: null};
  let MessageOpen = null;  // the promise of the message box on screen

  // --- The bridge -----------------------------------------------------------

  // A string as UTF-8 on the wasm heap, for the caller to free; 0 for null.
  function NewString(text) {
    if (text === null || text === undefined) return 0;
    const size = Bridge.lengthBytesUTF8(text) + 1;
    const at = Bridge._malloc(size);
    Bridge.stringToUTF8(text, at, size);
    return at;
  }

  function Call(name, argTypes, args) {
    const allocated = [];
    const values = args.map((value, i) => {
      if (argTypes[i] !== 'string') return value;
      const at = NewString(value);
      allocated.push(at);
      return at;
    });
    try {
      return Bridge['_' + name](...values);
    } finally {
      allocated.forEach((at) => Bridge._free(at));
    }
  }

  function CallJson(name, argTypes, args) {
    const result = JSON.parse(Bridge.UTF8ToString(Call(name, argTypes, args)));
    if (result === null) throw new Error(name);
    return result;
  }

  // The user's regional number settings, as the browser's default locale
  // gives them; null when it cannot say (the cores then take their defaults).
  function ReadNumberFormat() {
    try {
      const parts = new Intl.NumberFormat().formatToParts(1234567.5);
      const part = (type) => parts.find((p) => p.type === type);
      Numbers.decimal = part('decimal') ? part('decimal').value : null;
      Numbers.thousand = part('group') ? part('group').value : '';
    } catch (e) {
      Numbers.decimal = null;
      Numbers.thousand = null;
    }
  }

  // --- Message boxes ----------------------------------------------------------

  // The standard box ('standard') or the general error box ('error'): modal,
  // titled with the application title, one OK button. Resolves when closed.
  function ShowMessageBox(kind, text) {
    if (MessageOpen) return MessageOpen.then(() => ShowMessageBox(kind, text));
    const box = document.getElementById('MessageBox');
    box.classList.toggle('error', kind === 'error');
    document.getElementById('MessageText').textContent = text;
    MessageOpen = new Promise((resolve) => {
      box.addEventListener('close', function closed() {
        box.removeEventListener('close', closed);
        MessageOpen = null;
        // After the browser has given the focus back to where it was.
        setTimeout(resolve, 0);
      });
    });
    box.showModal();
    document.getElementById('MessageOK').focus();
    return MessageOpen;
  }

  function ShowError(text) { return ShowMessageBox('error', text); }

  // A handler's body: an error ends it and shows the general error box.
  function Guarded(body) {
    return function (event) {
      try {
        body(event);
      } catch (e) {
        ShowError(T ? T.texts.unknownError : String(e));
      }
    };
  }

  function BuildMessageBox() {
    const box = document.createElement('dialog');
    box.id = 'MessageBox';
    const title = document.createElement('div');
    title.className = 'title';
    title.id = 'MessageBoxTitle';
    title.textContent = T.texts.title;
    const body = document.createElement('div');
    body.className = 'body';
    const icon = document.createElement('span');
    icon.className = 'icon';
    icon.setAttribute('aria-hidden', 'true');
    const text = document.createElement('p');
    text.className = 'text';
    text.id = 'MessageText';
    // The cores' English messages read left to right, the Persian ones right to left.
    text.dir = 'auto';
    body.append(icon, text);
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.className = 'button';
    ok.id = 'MessageOK';
    ok.textContent = T.texts.ok;
    ok.addEventListener('click', () => box.close());
    buttons.append(ok);
    box.append(title, body, buttons);
    box.setAttribute('aria-labelledby', title.id);
    box.setAttribute('aria-describedby', text.id);
    // The key that closes the box is released over the field beneath: its
    // release must not count as typing there (Edit1KeyUp would run again).
    box.addEventListener('keydown', (event) => { HeldInBox.add(event.code); });
    document.body.append(box);
  }
  const HeldInBox = new Set();
  document.addEventListener('keyup', (event) => {
    if (HeldInBox.delete(event.code) && !document.getElementById('MessageBox').open) {
      event.stopImmediatePropagation();
    }
  }, true);

  // --- Building the window from the tables ------------------------------------

  function Px(value) { return value + 'px'; }

  function Place(node, row) {
    const [left, top, width, height] = row.box;
    node.style.left = Px(left);
    node.style.top = Px(top);
    node.style.width = Px(width);
    node.style.height = Px(height);
  }

  function ParentWidth(row) { return row.parent ? Rows.get(row.parent).box[2] : T.client[0]; }

  function MakeControl(row) {
    let node;
    let control;
    switch (row.kind) {
      case 'panel':
        node = document.createElement('div');
        break;
      case 'groupbox': {
        node = document.createElement('div');
        node.setAttribute('role', 'group');
        const frame = document.createElement('div');
        frame.className = 'frame';
        const title = document.createElement('span');
        title.className = 'title';
        title.id = row.name + 'Title';
        title.textContent = row.caption;
        node.setAttribute('aria-labelledby', title.id);
        node.append(frame, title);
        break;
      }
      case 'label':
        node = document.createElement('span');
        node.textContent = row.caption;
        break;
      case 'edit':
        node = document.createElement('input');
        node.type = 'text';
        node.autocomplete = 'off';
        node.spellcheck = false;
        node.inputMode = 'numeric';
        if (row.maxLength > 0) node.maxLength = row.maxLength;
        break;
      case 'checkbox': {
        node = document.createElement('div');
        control = document.createElement('input');
        control.type = 'checkbox';
        control.id = row.name;
        node.append(control);
        if (row.caption) {
          const caption = document.createElement('label');
          caption.htmlFor = row.name;
          caption.textContent = row.caption;
          node.append(caption);
        }
        break;
      }
      case 'combobox':
        node = document.createElement('select');
        T.insuranceItems.forEach((item) => node.append(new Option(item)));
        break;
      case 'button':
        node = document.createElement('button');
        node.type = 'button';
        node.textContent = row.caption;
        break;
      case 'picture':
        node = document.createElement('canvas');
        node.width = row.box[2];
        node.height = row.box[3];
        node.setAttribute('role', 'img');
        break;
      case 'richtext':
        node = document.createElement('div');
        node.contentEditable = 'true';
        node.setAttribute('role', 'textbox');
        node.setAttribute('aria-multiline', 'true');
        break;
      default:
        throw new Error(row.kind);
    }
    control = control || node;
    if (!control.id) control.id = row.name;
    node.classList.add(row.kind);
    Place(node, row);
    if (row.kind === 'label' && row.sizedToText) {
      // Sized to its text, it keeps its right edge next to its control and
      // the vertical middle of the box Tahoma draws it in.
      node.style.left = 'auto';
      node.style.width = 'auto';
      node.style.right = Px(ParentWidth(row) - row.box[0] - row.box[2]);
      node.style.lineHeight = Px(row.box[3]);
    }
    if (row.kind === 'label' && row.wordWrap) node.classList.add('wrap');
    if (row.font) node.style.fontSize = Px(row.font);
    if (row.colour) control.style.color = row.colour;
    if (row.background) control.style.backgroundColor = row.background;
    if (row.leftToRight) node.dir = 'ltr';
    if (row.hidden) node.hidden = true;
    node.style.cursor = row.cursor;
    if (row.hint) {
      node.title = row.hint;
      if (control !== node) control.title = row.hint;
    }
    if (row.spokenName) control.setAttribute('aria-label', row.spokenName);
    if (row.spokenDescription) control.setAttribute('aria-description', row.spokenDescription);
    Controls.set(row.name, control);
    Nodes.set(row.name, node);
    return node;
  }

  // Children go into their parent in the Tab order, each after the label of
  // its row, so that Tab, screen readers and the window agree; the rest after.
  function PlaceChildren(parentNode, parentName) {
    const children = T.controls.filter((row) => row.parent === parentName);
    const focusable = children.filter((row) => row.tab >= 0).sort((a, b) => a.tab - b.tab);
    const placed = new Set();
    for (const row of focusable) {
      if (row.label && Nodes.has(row.label) && Rows.get(row.label).parent === parentName) {
        parentNode.append(Nodes.get(row.label));
        placed.add(row.label);
      }
      parentNode.append(Nodes.get(row.name));
      placed.add(row.name);
    }
    for (const row of children) if (!placed.has(row.name)) parentNode.append(Nodes.get(row.name));
    for (const row of children) PlaceChildren(Nodes.get(row.name), row.name);
  }

  function BuildWindow() {
    const form = document.getElementById('Form1');
    form.style.width = Px(T.client[0]);
    form.style.height = Px(T.client[1]);
    form.style.fontSize = Px(T.client[2]);
    for (const row of T.controls) {
      Rows.set(row.name, row);
      MakeControl(row);
    }
    PlaceChildren(form, null);
    BuildMessageBox();
  }

  // --- The handlers -------------------------------------------------------------

  function Text(name) { return Controls.get(name).value; }

  function Visible(name) { return !Nodes.get(name).hidden; }

  function ShowPanel(name, visible) { Nodes.get(name).hidden = !visible; }

  // The character handler of every key-filtered control: Enter moves the
  // focus to the successor, digits and Backspace go through, every other
  // character is dropped. Keys that type nothing keep their function, and so
  // do the Ctrl shortcuts, so that pasted text reaches the conversion.
  function KeyPress(row, event) {
    if (event.isComposing) return;
    if (event.key === 'Enter') {
      event.preventDefault();
      if (event.ctrlKey || event.altKey || event.metaKey) return;
      if (row.enter) Controls.get(row.enter).focus();
      return;
    }
    const characters = Array.from(event.key);
    if (characters.length !== 1) return;
    const shortcut = (event.ctrlKey || event.metaKey) && !event.getModifierState('AltGraph');
    if (shortcut) return;
    // A check box toggles on the Space key itself, not on the typed space.
    if (event.key === ' ' && row.kind === 'checkbox') return;
    if (event.key >= '0' && event.key <= '9') return;
    event.preventDefault();
  }

  // Characters that arrive without a key of their own (a phone's keyboard,
  // an input method) pass the same filter; pasted and dropped text does not.
  function FilterInsertedText(event) {
    if (event.inputType === 'insertText' && event.data !== null && !/^[0-9]*$/.test(event.data)) {
      event.preventDefault();
    }
  }

  function WatchComposition(edit) {
    let before = '';
    edit.addEventListener('compositionstart', () => { before = edit.value; });
    edit.addEventListener('compositionend', (event) => {
      if (!/^[0-9]*$/.test(event.data || '')) edit.value = before;
    });
  }

  // Button1Click: the checks and conversion, the computation and the report
  // in the bridge; here the texts it wrote, then the report, the stored base
  // values and the panel switch.
  function Button1Click() {
    const texts = T.edits.map(Text);
    let flags = 0;
    T.flags.forEach((name, bit) => { if (Controls.get(name).checked) flags |= 1 << bit; });
    const index = Controls.get('ComboBox1').selectedIndex;
    const result = ComputeDecree(texts, flags, index);
    for (const [name, text] of result.written) Controls.get(name).value = text;
    if (result.message !== undefined) {
      ShowMessageBox(result.box, result.message).then(() => {
        if (result.focus) Controls.get(result.focus).focus();
      });
      return;
    }
    // One paragraph per line, the line its exact text.
    const report = document.createDocumentFragment();
    for (const line of result.lines) {
      const paragraph = document.createElement('div');
      paragraph.textContent = line;
      report.append(paragraph);
    }
    Controls.get('RichEdit1').replaceChildren(report);
    // A refused save ends the handler: the report stays behind the inputs.
    if (!SaveBaseValues(result.stored)) return;
    ShowPanel('Panel1', true);
    ShowPanel('Panel2', false);
    RememberResultPanel();
  }

  // The browser's Back from the result panel comes back to the inputs (see
  // FormCloseQuery). Recorded after the frame that shows the report: the
  // history entry costs a few milliseconds, which the clerk need not wait for.
  let ResultEntry = false;
  function RememberResultPanel() {
    requestAnimationFrame(() => setTimeout(() => {
      if (!Visible('Panel1') || ResultEntry) return;
      history.pushState({resultPanel: true}, '');
      ResultEntry = true;
    }, 0));
  }

  // The 26 texts go in as an array of pointers to UTF-8 strings.
  function ComputeDecree(texts, flags, index) {
    const pointers = texts.map(NewString);
    const array = Bridge._malloc(4 * pointers.length);
    Bridge.HEAPU32.set(pointers, array >> 2);
    try {
      return CallJson('WebCompute', ['number', 'number', 'number', 'string', 'string'],
                      [array, flags, index, Numbers.decimal, Numbers.thousand]);
    } finally {
      pointers.forEach((at) => Bridge._free(at));
      Bridge._free(array);
    }
  }

  // The browser keeps the text of info.ini. When it refuses (storage
  // switched off, full), the general error box says what the window says of
  // a file it cannot create, with the browser's reason. True when kept.
  function SaveBaseValues(text) {
    try {
      window.localStorage.setItem(T.storageKey, text);
      return true;
    } catch (e) {
      ShowError(StorageError(false, e));
      return false;
    }
  }

  // Nothing kept: the fields stay empty, silently. A store that refuses to be
  // read is the window's file that cannot be opened. A text of other than
  // eight lines is ignored.
  function LoadBaseValues() {
    let stored;
    try {
      stored = window.localStorage.getItem(T.storageKey);
    } catch (e) {
      ShowError(StorageError(true, e));
      return;
    }
    if (stored === null) return;
    const texts = JSON.parse(Bridge.UTF8ToString(Call('WebStoredTexts', ['string'], [stored])));
    if (texts === null) return;
    T.stored.forEach((name, line) => { Controls.get(name).value = texts[line]; });
  }

  function StorageError(open, error) {
    const cause = error && (error.message || error.name) ? error.message || error.name : String(error);
    return Bridge.UTF8ToString(Call('WebStorageError', ['number', 'string'], [open ? 1 : 0, cause]));
  }

  function Button2Click() {
    const plain = Controls.get('RichEdit1').innerText;
    if (Array.from(plain).every((c) => c.codePointAt(0) <= 32)) {
      ShowMessageBox('standard', T.texts.nothingToPrint);
      return;
    }
    // The print job is named after the document; the caption comes back
    // when the browser is done with the job (PrintJobTitle).
    document.title = T.texts.printJob;
    window.print();
  }

  function PrintJobTitle(event) {
    document.title = event.type === 'beforeprint' ? T.texts.printJob : T.texts.caption;
  }

  function Button3Click() {
    ShowPanel('Panel1', false);
    ShowPanel('Panel2', true);
    if (ResultEntry) history.back();
  }

  // The browser's Back while the result panel shows is the window's close
  // request there: back to the inputs, which keep their values.
  function FormCloseQuery() {
    ResultEntry = false;
    if (Visible('Panel1')) {
      ShowPanel('Panel1', false);
      ShowPanel('Panel2', true);
    }
  }

  function CheckBox6Click() { Controls.get(Rows.get('CheckBox6').enter).focus(); }

  function ComboBox1Change() {
    const order = T.tabOrder;
    Controls.get(order[order.indexOf('ComboBox1') + 1]).focus();
  }

  function Edit1KeyUp() { ClauseBAutoFill(); }

  function Edit25KeyUp() { ClauseBAutoFill(); }

  function ClauseBAutoFill() {
    const target = Controls.get(T.autoFill.to);
    target.value = '';
    const [coefficient, points] = T.autoFill.from.map(Text);
    const result = CallJson('WebClauseBAmount', ['string', 'string', 'string', 'string'],
                            [coefficient, points, Numbers.decimal, Numbers.thousand]);
    if (result.message !== undefined) {
      ShowError(result.message);
      return;
    }
    target.value = result.text;
  }

  function WaterImage1Click(event) {
    // The second press of a double click makes a splash, not a second click.
    if (event.button !== 0 || event.detail > 1) return;
    window.open(T.webAddress, '_blank', 'noopener,noreferrer');
  }

  function Connect() {
    for (const row of T.controls) {
      if (!row.keyFiltered) continue;
      const control = Controls.get(row.name);
      control.addEventListener('keydown', Guarded((event) => KeyPress(row, event)));
      if (row.kind === 'edit') {
        control.addEventListener('beforeinput', FilterInsertedText);
        WatchComposition(control);
      }
    }
    const [coefficient, points] = T.autoFill.from;
    Controls.get(coefficient).addEventListener('keyup', Guarded(Edit1KeyUp));
    Controls.get(points).addEventListener('keyup', Guarded(Edit25KeyUp));

    const button1 = Controls.get('Button1');
    button1.addEventListener('click', Guarded(Button1Click));
    // Enter with Shift, Ctrl or Alt does not press the button.
    button1.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && (event.shiftKey || event.ctrlKey || event.altKey || event.metaKey)) {
        event.preventDefault();
      }
    });
    Controls.get('Button2').addEventListener('click', Guarded(Button2Click));
    Controls.get('Button3').addEventListener('click', Guarded(Button3Click));
    Controls.get('CheckBox6').addEventListener('change', Guarded(CheckBox6Click));

    const combo = Controls.get('ComboBox1');
    combo.addEventListener('change', Guarded(ComboBox1Change));
    // Chromium opens the list on Enter; here Enter does nothing.
    combo.addEventListener('keydown', (event) => { if (event.key === 'Enter') event.preventDefault(); });

    window.addEventListener('popstate', Guarded(FormCloseQuery));
    window.addEventListener('beforeprint', PrintJobTitle);
    window.addEventListener('afterprint', PrintJobTitle);
    window.addEventListener('languagechange', ReadNumberFormat);
    document.addEventListener('keydown', WrapTab, true);
  }

  // Tab and Shift+Tab go round the visible panel, as in the window.
  function WrapTab(event) {
    if (event.key !== 'Tab' || event.ctrlKey || event.altKey || event.metaKey || MessageOpen) return;
    const panel = Visible('Panel1') ? Nodes.get('Panel1') : Nodes.get('Panel2');
    const focusable = Array.from(panel.querySelectorAll('input, select, button, [contenteditable="true"]'))
        .filter((element) => !element.disabled && element.tabIndex >= 0);
    if (focusable.length === 0) return;
    const first = focusable[0];
    const last = focusable[focusable.length - 1];
    if (!event.shiftKey && document.activeElement === last) {
      event.preventDefault();
      first.focus();
    } else if (event.shiftKey && document.activeElement === first) {
      event.preventDefault();
      last.focus();
    }
  }

  // --- The banner -----------------------------------------------------------------

  // The browser decodes the picture; its pixels go to the ripple engine, which
  // renders each frame into the canvas's pixels on the wasm heap.
  function StartBanner() {
    const canvas = Controls.get('WaterImage1');
    const picture = document.getElementById('BannerPicture');
    picture.decode().then(() => {
      const width = picture.naturalWidth;
      const height = picture.naturalHeight;
      // Sized to its picture.
      canvas.width = width;
      canvas.height = height;
      canvas.style.width = Px(width);
      canvas.style.height = Px(height);
      const context = canvas.getContext('2d', {alpha: false});
      context.drawImage(picture, 0, 0);
      const pixels = context.getImageData(0, 0, width, height).data;
      const at = Bridge._WebBannerCanvas(width, height);
      if (!at) return;
      Bridge.HEAPU8.set(pixels, at);
      Bridge._WebBannerPictureWritten();
      const frame = new ImageData(new Uint8ClampedArray(Bridge.HEAPU8.buffer, at, width * height * 4), width, height);

      // The control's timer; a page no one sees does not animate.
      const tick = () => {
        const dirty = Bridge._WebBannerTick() >> 2;
        const [x, y, w, h] = Bridge.HEAP32.subarray(dirty, dirty + 4);
        if (w > 0) context.putImageData(frame, 0, 0, x, y, w, h);
      };
      let timer = 0;
      const animate = () => {
        if (document.hidden && timer) {
          clearInterval(timer);
          timer = 0;
        } else if (!document.hidden && !timer) {
          timer = setInterval(tick, T.bannerInterval);
        }
      };
      document.addEventListener('visibilitychange', animate);
      animate();

      const pixelAt = (event) => {
        const box = canvas.getBoundingClientRect();
        return [Math.floor((event.clientX - box.left) * width / box.width),
                Math.floor((event.clientY - box.top) * height / box.height)];
      };
      canvas.addEventListener('mousemove', (event) => {
        const [x, y] = pixelAt(event);
        Bridge._WebBannerMouseMove(x, y, event.buttons & 1);
      });
      canvas.addEventListener('mousedown', (event) => {
        if (event.button !== 0) return;
        const [x, y] = pixelAt(event);
        Bridge._WebBannerMouseDown(x, y);
      });
      canvas.addEventListener('click', WaterImage1Click);
    }).catch(() => {
      // Without its picture the banner stays empty, as the window's does.
    });
  }

  // --- Start ------------------------------------------------------------------------

  function FormCreate() {
    document.title = T.texts.caption;
  }

  function FormShow() {
    for (const name of T.edits) Controls.get(name).value = '';
    for (const name of T.flags) Controls.get(name).checked = false;
    Controls.get('RichEdit1').replaceChildren();
    Controls.get('Edit6').focus();
    LoadBaseValues();
  }

  function Start(module) {
    Bridge = module;
    T = JSON.parse(Bridge.UTF8ToString(Bridge._WebTables()));
    ReadNumberFormat();
    BuildWindow();
    Connect();
    FormCreate();
    // The list starts with nothing chosen.
    Controls.get('ComboBox1').selectedIndex = -1;
    Guarded(FormShow)();
    StartBanner();
    // The milliseconds from the navigation's start: the page's start-up time.
    document.documentElement.setAttribute('data-ready', String(Math.round(performance.now())));
  }

  SalaryDecreeBridge().then(Start);
})();
