object F: TForm
  Caption = 'unterminated
end